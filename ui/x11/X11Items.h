#pragma once

#include "ui/QVUIItem.h"

#include <X11/Xlib.h>

#include <cstdint>

// What the X11 manager's files share about items: an item's window field holds the id of its X
// window, and controls are drawn in the colours of Windows' default scheme.

inline Window WindowOf(const QVUIItem* item)
{
    return static_cast<Window>(reinterpret_cast<std::uintptr_t>(item->GetWindow()));
}

inline QVHandle HandleOf(Window window)
{
    return reinterpret_cast<QVHandle>(static_cast<std::uintptr_t>(window));
}

const std::uint32_t FaceColour = 0xF0F0F0;
const std::uint32_t TextColour = 0x000000;
