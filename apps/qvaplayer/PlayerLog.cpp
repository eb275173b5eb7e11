#include "apps/qvaplayer/PlayerLog.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace
{
std::mutex& LogLock()
{
    static std::mutex lock;
    return lock;
}

void WriteLine(std::FILE* stream, const char* format, std::va_list arguments)
{
    std::lock_guard<std::mutex> hold(LogLock());
    std::fputs("qvaplayer: ", stream);
    std::vfprintf(stream, format, arguments);
    std::fputc('\n', stream);
    std::fflush(stream);
}
}  // namespace

void PlayerSay(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    WriteLine(stdout, format, arguments);
    va_end(arguments);
}

void PlayerComplain(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    WriteLine(stderr, format, arguments);
    va_end(arguments);
}
