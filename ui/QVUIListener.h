#pragma once

class QVUIItem;

// Flags of OnMouseMove: which modifier keys and mouse buttons are down during the move. Both
// UI managers report the same values.
enum QVUIMouseFlags : unsigned short
{
    QV_MOUSE_SHIFT = 1,
    QV_MOUSE_CONTROL = 4,
    QV_MOUSE_LEFT = 8,
    QV_MOUSE_MIDDLE = 16,
    QV_MOUSE_RIGHT = 32,
};

// Receives the window events of a UI item. The host implements it (every operation may stay
// empty); the UI manager calls it from its message handling, on the thread that runs the loop.
// The slot order is a contract with the UI manager modules: do not reorder.
class QVUIListener
{
public:
    // A control inside the item's window was used (a button clicked); control is the control's
    // item, or null when the command came from no item.
    virtual void OnCommand(QVUIItem* control);
    // The item's window has a new client size in pixels.
    virtual void OnSize(QVUIItem* item, int width, int height);
    virtual void OnMaximize(QVUIItem* item);
    virtual void OnMinimize(QVUIItem* item);
    // The mouse moved to (x, y) in client coordinates; flags are QVUIMouseFlags; reserved is 0.
    virtual void OnMouseMove(QVUIItem* item, unsigned short flags, int x, int y, int reserved);
    // A key went down or up; flags are 0; key is the Windows virtual-key code ('A'..'Z',
    // '0'..'9', 0x25..0x28 arrows, 0x1B Escape, 0x0D Enter, 0x20 Space, 0x70.. F1..).
    virtual void OnKeyDown(QVUIItem* item, unsigned short flags, int key);
    virtual void OnKeyUp(QVUIItem* item, unsigned short flags, int key);

protected:
    // Listeners are never deleted through this interface.
    ~QVUIListener() = default;
};
