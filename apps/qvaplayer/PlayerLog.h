#pragma once

// What the player tells: lines on standard output (what a page would show: keys it got, URLs it
// was asked to open, download folders) and messages on standard error, each with the prefix
// "qvaplayer: ", written whole and flushed at once. The plug-in's applet threads call the browser
// services too, so lines from several threads never mix.

// printf-style line on standard output.
void PlayerSay(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// printf-style message on standard error.
void PlayerComplain(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
