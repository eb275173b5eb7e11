#pragma once

#include <cstddef>
#include <cstring>

// URLs that an applet's OpenURL never passes on: "javascript:" and "vbscript:" run script in the
// page that holds the applet, "data:" makes a document of the applet's choosing there. The
// scheme is read as browsers read it (so that no spelling slips through): leading blanks and
// control characters (up to U+0020) are skipped, tabs and line breaks are ignored wherever they
// are, and letters count in either case. url is the text as the browser gets it (8-bit or
// UTF-8); true when it names one of these schemes.
inline bool QVIsScriptURL(const char* url)
{
    if (url == nullptr)
        return false;
    const unsigned char* at = reinterpret_cast<const unsigned char*>(url);
    while (*at != 0 && *at <= 0x20)
        ++at;
    // Longer than the longest refused scheme: some other one.
    char scheme[11];
    std::size_t length = 0;
    for (; *at != 0 && *at != ':'; ++at)
    {
        if (*at == '\t' || *at == '\n' || *at == '\r')
            continue;
        if (length == sizeof scheme - 1)
            return false;
        scheme[length++] = static_cast<char>(*at >= 'A' && *at <= 'Z' ? *at - 'A' + 'a' : *at);
    }
    if (*at != ':')
        return false;
    scheme[length] = '\0';
    return std::strcmp(scheme, "javascript") == 0 || std::strcmp(scheme, "vbscript") == 0 ||
           std::strcmp(scheme, "data") == 0;
}
