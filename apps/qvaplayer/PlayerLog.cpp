#include "apps/qvaplayer/PlayerLog.h"

#include "core/string/PrintableText.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace
{
std::mutex& LogLock()
{
    static std::mutex lock;
    return lock;
}

void WriteLine(std::FILE* stream, const char* format, std::va_list arguments)
{
    // Lines quote the page's paths and URLs and what applets ask for: bytes outside printable
    // ASCII are escaped, so that nothing reaches the terminal as a control sequence.
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    std::vector<char> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    const std::string line =
        QVPrintableText(text.data(), length > 0 ? static_cast<std::size_t>(length) : 0);
    std::lock_guard<std::mutex> hold(LogLock());
    std::fprintf(stream, "qvaplayer: %s\n", line.c_str());
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
