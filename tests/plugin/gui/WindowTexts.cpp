// Test tool for the Windows builds: prints the text of every visible top-level window and of
// every window inside it, one per line, so that GUI tests can read what a message box or a
// label says (texts of other processes' windows are readable on Windows, unlike their
// pixels' meaning). Line feeds print as \n, tabs as \t, backslashes as \\. UTF-8 output.
#include <windows.h>

#include <cstdio>
#include <string>

namespace
{
void Print(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, &text[0], length + 1)));
    std::wstring escaped;
    for (wchar_t c : text)
    {
        if (c == L'\n')
            escaped += L"\\n";
        else if (c == L'\t')
            escaped += L"\\t";
        else if (c == L'\\')
            escaped += L"\\\\";
        else if (c != L'\r')
            escaped += c;
    }
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, escaped.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

BOOL CALLBACK PrintChild(HWND window, LPARAM)
{
    Print(window);
    return TRUE;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM)
{
    if (!IsWindowVisible(window))
        return TRUE;
    Print(window);
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}
}  // namespace

int main()
{
    EnumWindows(PrintTopLevel, 0);
    return 0;
}
