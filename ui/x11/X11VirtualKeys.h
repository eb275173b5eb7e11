#pragma once

#include <X11/X.h>

// Translates X key symbols to the Windows virtual-key codes that listeners receive.
class X11VirtualKeys
{
public:
    // The virtual-key code of an unshifted key symbol: letters 'A'..'Z' (either case), digits
    // '0'..'9', arrows, Escape, Enter, Space, F1..F24, editing and modifier keys, the keypad.
    // 0 for a symbol without one.
    static int FromKeySym(KeySym symbol);
};
