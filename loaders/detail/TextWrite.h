#pragma once

#include "core/string/QVString.h"

#include <cstdio>

// The written form of a text, shared by the file object and the savers that write through a
// file replacement: an 8-bit text as its bytes and one zero byte; a 16-bit text as FF FE, its
// units little-endian and one zero unit. Returns the bytes written after the mark: (length + 1)
// characters' worth when all went well, fewer when writing failed.
long QVWriteText(std::FILE* stream, const QVString& text);
