// The Linux stand-in for the registry value: a key file (see RunTimeKey.h).
#include "platform/RunTimeKey.h"

#include "platform/RegularFile.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef QV_RUNTIME_KEY_FILE
#define QV_RUNTIME_KEY_FILE "/etc/corvane/common"
#endif

namespace
{

const char ValueName[] = "QVRunTimePath=";

// The next line of file without its line end, by the bytes it really holds (a NUL byte is
// kept: it ends neither the line nor the text). False at the end of the file.
bool ReadLine(std::FILE* file, std::string& line)
{
    line.clear();
    int c = std::getc(file);
    if (c == EOF)
        return false;
    for (; c != EOF && c != '\n'; c = std::getc(file))
        line += static_cast<char>(c);
    while (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace

int QVReadRunTimeKey(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return -1;
    out[0] = '\0';
    const char* keyFile = std::getenv("QV_RUNTIME_KEY");
    if (keyFile == nullptr)
        keyFile = QV_RUNTIME_KEY_FILE;
    if (keyFile[0] == '\0')
        return -1;
    // Anything but a regular file (a FIFO would keep the reader waiting) is no key.
    std::FILE* file = QVOpenRegularFile(keyFile, "r");
    if (file == nullptr)
        return -1;
    const std::size_t nameLength = sizeof ValueName - 1;
    std::string line;
    std::string value;
    while (ReadLine(file, line))
    {
        if (line.compare(0, nameLength, ValueName) != 0)
            continue;
        value = line.substr(nameLength);
        // No path holds a NUL byte: such a value is no value.
        if (value.find('\0') != std::string::npos || value.size() >= INT_MAX)
            value.clear();
        break;
    }
    std::fclose(file);
    if (value.size() < static_cast<std::size_t>(size))
        std::memcpy(out, value.c_str(), value.size() + 1);
    return static_cast<int>(value.size());
}
