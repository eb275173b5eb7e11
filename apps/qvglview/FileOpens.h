#pragma once

#include <cstdio>
#include <string>

// Whether the file can be opened for reading: a missing file is told as such, before the loaders
// are asked (they would only say that none of them reads it).
inline bool FileOpens(const std::string& fileName)
{
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}
