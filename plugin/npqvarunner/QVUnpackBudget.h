#pragma once

#include <cstdint>
#include <mutex>

// What the applets of this process may unpack together. The player plays one page per process,
// so this is the limit of a page, whatever number of applets it embeds; in a browser it covers
// every applet the plug-in runs at a time. An instance unpacks within what is available, charges
// what its package cost (whole blocks, see QVPackageExtractor.h) and gives it back when it is
// destroyed.
//
// The total is 1 GiB, or the number of bytes that the environment variable QV_UNPACK_LIMIT gives
// (decimal digits; read at every unpack, so a host may change it between applets).
class QVUnpackBudget
{
public:
    // The process's budget.
    static QVUnpackBudget& Process();

    // What is left of the total (0 when it is spent).
    std::uint64_t Available();
    // Charges bytes that an unpacking cost; gives them back.
    void Charge(std::uint64_t bytes);
    void Return(std::uint64_t bytes);

private:
    QVUnpackBudget() = default;

    std::mutex m_lock;
    std::uint64_t m_charged = 0;
};
