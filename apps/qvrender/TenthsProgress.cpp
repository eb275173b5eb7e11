#include "apps/qvrender/TenthsProgress.h"

#include <cstdio>

TenthsProgress::TenthsProgress(std::int64_t total) : total(total) {}

void TenthsProgress::Add(std::int64_t amount)
{
    const std::lock_guard<std::mutex> guard(lock);
    done += amount;
    while (nextTenth <= 10 && done >= total * nextTenth / 10)
    {
        std::printf("qvrender: %d%%\n", nextTenth * 10);
        ++nextTenth;
    }
    std::fflush(stdout);
}
