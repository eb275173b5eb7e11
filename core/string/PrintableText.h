#pragma once

#include <cstddef>
#include <string>

// Bytes from a file, made safe to print on a terminal: printable ASCII (space to '~') stays as it
// is, every other byte becomes "\x" and two lower-case hexadecimal digits ("\x1b" for ESC). So a
// file cannot reach the terminal with control sequences (ESC, OSC, ...) or stray bytes through a
// message that quotes it.
std::string QVPrintableText(const char* bytes, std::size_t length);
