#pragma once

#include <cstdint>
#include <mutex>

// Reports how far a job of a known size has come in whole tenths, "qvrender: 10%" up to
// "qvrender: 100%" on standard output, each line once and in order. Any thread may add to it:
// counting and printing happen under one lock, so lines never interleave.
class TenthsProgress
{
public:
    // total: the amount of work, at least 1.
    explicit TenthsProgress(std::int64_t total);
    TenthsProgress(const TenthsProgress&) = delete;
    TenthsProgress& operator=(const TenthsProgress&) = delete;

    // Counts `amount` more work as done and prints every tenth reached by now.
    void Add(std::int64_t amount);

private:
    std::mutex lock;
    const std::int64_t total;
    std::int64_t done = 0;
    int nextTenth = 1;
};
