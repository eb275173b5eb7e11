// The Linux stand-in for the registry value: a key file (see RunTimeKey.h).
#include "platform/RunTimeKey.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef QV_RUNTIME_KEY_FILE
#define QV_RUNTIME_KEY_FILE "/etc/corvane/common"
#endif

namespace
{

const char ValueName[] = "QVRunTimePath=";

void TrimLineEnd(char* line)
{
    std::size_t length = std::strlen(line);
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r'))
        line[--length] = '\0';
}

}  // namespace

bool QVReadRunTimeKey(char* out, int size)
{
    if (out == nullptr || size <= 0)
        return false;
    out[0] = '\0';
    const char* keyFile = std::getenv("QV_RUNTIME_KEY");
    if (keyFile == nullptr)
        keyFile = QV_RUNTIME_KEY_FILE;
    if (keyFile[0] == '\0')
        return false;
    std::FILE* file = std::fopen(keyFile, "r");
    if (file == nullptr)
        return false;
    // A line longer than the buffer is read in pieces; only a piece that starts a line can
    // hold the value, and a value that does not fit is treated as absent.
    char line[1024];
    bool lineStart = true;
    while (std::fgets(line, sizeof line, file) != nullptr)
    {
        const bool wholeLine = std::strchr(line, '\n') != nullptr || std::feof(file);
        const bool startsHere = lineStart;
        lineStart = wholeLine;
        if (!startsHere || !wholeLine)
            continue;
        TrimLineEnd(line);
        if (std::strncmp(line, ValueName, sizeof ValueName - 1) != 0)
            continue;
        const char* value = line + sizeof ValueName - 1;
        if (std::strlen(value) < static_cast<std::size_t>(size))
            std::strcpy(out, value);
        break;
    }
    std::fclose(file);
    return true;
}
