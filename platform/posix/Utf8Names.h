#pragma once

#include <string>

// File names on POSIX systems are bytes, taken as UTF-8; the system's 16-bit texts are UTF-16.
// Appends the UTF-8 form of text to out. False on a lone surrogate, which names no file here.
bool QVUtf16ToUtf8(const unsigned short* text, std::string& out);
