#pragma once

// POSIX only. A FIFO for the tests of code that must never open one: an open of a FIFO waits for
// its other end, for ever when nobody comes.

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class ScratchFifo
{
public:
    explicit ScratchFifo(std::string path) : m_path(std::move(path))
    {
        unlink(m_path.c_str());
        EXPECT_EQ(0, mkfifo(m_path.c_str(), 0600)) << m_path;
    }
    ~ScratchFifo() { unlink(m_path.c_str()); }

    ScratchFifo(const ScratchFifo&) = delete;
    ScratchFifo& operator=(const ScratchFifo&) = delete;

    const std::string& Path() const { return m_path; }

    // Runs call on a thread of its own and returns its result. A call still running after a
    // generous while is taken to wait on the FIFO: that is reported as a failure, and the FIFO
    // is opened at both ends for a moment, which ends such a wait (the waiting open then finds
    // an empty file), so that a broken build fails instead of hanging.
    template <typename Call>
    auto RunWithoutWaiting(Call call) -> decltype(call())
    {
        auto result = std::async(std::launch::async, call);
        while (result.wait_for(std::chrono::seconds(10)) != std::future_status::ready)
        {
            ADD_FAILURE() << "waited on the FIFO " << m_path;
            const int bothEnds = open(m_path.c_str(), O_RDWR | O_NONBLOCK);
            if (bothEnds >= 0)
                close(bothEnds);
        }
        return result.get();
    }

private:
    std::string m_path;
};
