#pragma once

// Translates the page's key events to the Windows virtual-key codes that listeners receive.
class WebVirtualKeys
{
public:
    // The virtual-key code of a key event, from its KeyboardEvent.code (the physical key) and
    // KeyboardEvent.key (what the layout makes of it). Letters follow the layout, as Windows
    // virtual keys do ('A'..'Z' for either case); every other key follows its physical position:
    // digits '0'..'9', arrows, Escape, Enter, Space, Tab, Backspace, F1..F24, editing keys,
    // Shift/Control/Alt, the keypad (0x60.. digits with Num Lock on, the editing keys with it
    // off), punctuation by its US position. 0 for a key without one. Null texts count as empty.
    static int FromKeyEvent(const char* code, const char* key);
};
