#pragma once

#include <cstdint>
#include <filesystem>

// What the file system says about an unpacked file, read the platform's own way (posix/,
// win32/): the attributes (Windows) or permission bits (Linux) and the three times.
struct FileState
{
    bool exists = false;
    bool readOnly = false;  // Linux: no write bit at all
    bool hidden = false;
    bool system = false;
    bool archive = false;
    int permissions = -1;  // Linux only
    std::int64_t write = 0;
    std::int64_t access = 0;
    std::int64_t creation = -1;  // -1 where files have none (Linux)
};

FileState StateOf(const std::filesystem::path& path);
