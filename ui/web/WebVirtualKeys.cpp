#include "ui/web/WebVirtualKeys.h"

#include <cstring>

namespace
{

struct CodeKey
{
    const char* code;
    int key;
};

// Keys named by KeyboardEvent.code that are not letters, digits, F-keys or keypad digits.
const CodeKey NamedKeys[] = {
    {"Backspace", 0x08},
    {"Tab", 0x09},
    {"Enter", 0x0D},
    {"NumpadEnter", 0x0D},
    {"ShiftLeft", 0x10},
    {"ShiftRight", 0x10},
    {"ControlLeft", 0x11},
    {"ControlRight", 0x11},
    {"AltLeft", 0x12},
    {"AltRight", 0x12},
    {"Pause", 0x13},
    {"CapsLock", 0x14},
    {"Escape", 0x1B},
    {"Space", 0x20},
    {"PageUp", 0x21},
    {"PageDown", 0x22},
    {"End", 0x23},
    {"Home", 0x24},
    {"ArrowLeft", 0x25},
    {"ArrowUp", 0x26},
    {"ArrowRight", 0x27},
    {"ArrowDown", 0x28},
    {"PrintScreen", 0x2C},
    {"Insert", 0x2D},
    {"Delete", 0x2E},
    {"MetaLeft", 0x5B},
    {"MetaRight", 0x5C},
    {"ContextMenu", 0x5D},
    {"NumpadMultiply", 0x6A},
    {"NumpadAdd", 0x6B},
    {"NumpadSubtract", 0x6D},
    {"NumpadDecimal", 0x6E},
    {"NumpadDivide", 0x6F},
    {"NumLock", 0x90},
    {"ScrollLock", 0x91},
    {"Semicolon", 0xBA},
    {"Equal", 0xBB},
    {"Comma", 0xBC},
    {"Minus", 0xBD},
    {"Period", 0xBE},
    {"Slash", 0xBF},
    {"Backquote", 0xC0},
    {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},
    {"BracketRight", 0xDD},
    {"Quote", 0xDE},
    {"IntlBackslash", 0xE2},
};

// What a keypad key means with Num Lock off, by the key value the page reports then.
const CodeKey KeypadEditingKeys[] = {
    {"Insert", 0x2D},    {"End", 0x23},    {"ArrowDown", 0x28},  {"PageDown", 0x22},
    {"ArrowLeft", 0x25}, {"Clear", 0x0C},  {"ArrowRight", 0x27}, {"Home", 0x24},
    {"ArrowUp", 0x26},   {"PageUp", 0x21}, {"Delete", 0x2E},
};

int Lookup(const CodeKey* table, std::size_t count, const char* name)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        if (std::strcmp(table[i].code, name) == 0)
            return table[i].key;
    }
    return 0;
}

// The number after prefix in text ("F12" → 12), or -1 when text is not prefix and 1 or 2 digits.
int NumberAfter(const char* text, const char* prefix)
{
    std::size_t length = std::strlen(prefix);
    if (std::strncmp(text, prefix, length) != 0)
        return -1;
    const char* digits = text + length;
    std::size_t count = std::strlen(digits);
    if (count < 1 || count > 2)
        return -1;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        if (digits[i] < '0' || digits[i] > '9')
            return -1;
        value = value * 10 + (digits[i] - '0');
    }
    return value;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

int WebVirtualKeys::FromKeyEvent(const char* code, const char* key)
{
    if (code == nullptr)
        code = "";
    if (key == nullptr)
        key = "";
    // A letter as the layout makes it, as Windows maps letter keys through the layout.
    if (IsAsciiLetter(key[0]) && key[1] == '\0')
        return key[0] >= 'a' ? key[0] - 'a' + 'A' : key[0];
    if (std::strncmp(code, "Key", 3) == 0 && IsAsciiLetter(code[3]) && code[4] == '\0')
        return code[3] >= 'a' ? code[3] - 'a' + 'A' : code[3];
    int digit = NumberAfter(code, "Digit");
    if (digit >= 0 && digit <= 9 && code[6] == '\0')
        return '0' + digit;
    int function = NumberAfter(code, "F");
    if (function >= 1 && function <= 24)
        return 0x70 + function - 1;
    int keypad = NumberAfter(code, "Numpad");
    if (keypad >= 0 && keypad <= 9 && code[7] == '\0')
    {
        // Num Lock off: the key value names the editing key the keypad key stands for.
        if (!(key[0] >= '0' && key[0] <= '9'))
        {
            int editing =
                Lookup(KeypadEditingKeys, sizeof KeypadEditingKeys / sizeof(CodeKey), key);
            if (editing != 0)
                return editing;
        }
        return 0x60 + keypad;
    }
    if (std::strcmp(code, "NumpadDecimal") == 0 && std::strcmp(key, "Delete") == 0)
        return 0x2E;
    return Lookup(NamedKeys, sizeof NamedKeys / sizeof(CodeKey), code);
}
