#include "loaders/model/ObjTextGuard.h"

#include <cstddef>

namespace
{
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// The parser splits lines at \n, \r and \r\n, and reads a line's text up to a NUL.
bool IsLineEnd(char c) { return c == '\n' || c == '\r' || c == '\0'; }
bool EndsToken(char c) { return IsBlank(c) || IsLineEnd(c); }

// From the start of a line: comments out a vertex weight line.
void GuardLineStart(std::string& text, std::size_t at)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    if (at + 2 < text.size() && text[at] == 'v' && text[at + 1] == 'w' && IsBlank(text[at + 2]))
        text[at] = '#';
}

// A token from 'at' to its end: if it begins as a number whose exponent would overflow the
// parser's int, makes the exponent's first significant digit 9. Returns where the token ends.
std::size_t GuardToken(std::string& text, std::size_t at)
{
    std::size_t i = at;
    const auto skipDigits = [&]
    {
        while (i < text.size() && IsDigit(text[i]))
            ++i;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    // The parser reads ".e5" too: a number begins with a digit or a point.
    const bool number = i < text.size() && (IsDigit(text[i]) || text[i] == '.');
    skipDigits();
    if (number && i < text.size() && text[i] == '.')
    {
        ++i;
        skipDigits();
    }
    if (number && i < text.size() && (text[i] == 'e' || text[i] == 'E'))
    {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        while (i < text.size() && text[i] == '0')
            ++i;
        // The parser refuses an exponent past 214748364 before it takes a tenth digit, so
        // 2147483648 and 2147483649 are the only ones it overflows on.
        const std::string overflowing = "214748364";
        const std::size_t tenth = i + overflowing.size();
        if (tenth < text.size() && text.compare(i, overflowing.size(), overflowing) == 0 &&
            (text[tenth] == '8' || text[tenth] == '9'))
            text[i] = '9';
    }
    while (i < text.size() && !EndsToken(text[i]))
        ++i;
    return i;
}
}  // namespace

void GuardObjText(std::string& text)
{
    bool lineStart = true;
    std::size_t i = 0;
    while (i < text.size())
    {
        if (lineStart)
        {
            GuardLineStart(text, i);
            lineStart = false;
        }
        const char c = text[i];
        if (IsLineEnd(c))
        {
            lineStart = c != '\0';
            ++i;
        }
        else if (IsBlank(c))
            ++i;
        else
            i = GuardToken(text, i);
    }
}
