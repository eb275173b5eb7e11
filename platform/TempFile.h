#pragma once

#include <cstddef>
#include <string>

// Files that a library writes for another to read once, in the system's folder of temporary files
// (Linux and the web: $TMPDIR, else /tmp; Windows: GetTempPath). Such a file gets a new name of
// its own, created exclusively (never an existing file or link) and readable by its owner only;
// the name ends with the given suffix, so that readers that go by the extension accept it.

// Writes size bytes of data to a new temporary file whose name ends with suffix (a few
// characters such as ".png"). Its path, or "" when it cannot be created or written (nothing is
// left behind then).
std::string QVWriteTemporaryFile(const std::string& suffix, const void* data, std::size_t size);
