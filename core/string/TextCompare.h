#pragma once

// Comparison of NUL-terminated texts, used where plain texts (module types, file names) meet.
// Each returns 0 when the texts are equal; otherwise, with i the first position where they
// differ, i + 1 when a's character is greater and -(i + 1) when it is smaller. A null pointer
// counts as an empty text.

// 8-bit characters compare as signed values, so bytes of 128 and up sort below the terminator.
int CompareText(const char* a, const char* b);

// 16-bit units below 256 compare with b's characters as signed 8-bit values; a unit of 256 or
// more is greater than any 8-bit character.
int CompareWideText(const unsigned short* a, const char* b);

// 16-bit units compare as unsigned values.
int CompareWideText(const unsigned short* a, const unsigned short* b);
