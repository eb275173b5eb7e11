// The window procedures of the manager's controls: labels draw their caption, buttons draw a
// 3D frame, show press feedback and report a click to the window that contains them.
#include "ui/x11/QVUIManagerX11.h"

#include "ui/x11/X11Items.h"
#include "ui/x11/X11Text.h"

void QVUIManagerX11::SendCommand(Window parent, Window control)
{
    WindowRecord* parentRecord = Find(parent);
    if (parentRecord == nullptr || parentRecord->item == nullptr)
        return;
    QVUIListener* listener = parentRecord->item->GetListener();
    if (listener == nullptr)
        return;
    const WindowRecord* controlRecord = Find(control);
    listener->OnCommand(controlRecord != nullptr ? controlRecord->item : nullptr);
}

void QVUIManagerX11::DefaultProcedure(QVUIManagerX11& manager, Window window, XEvent& event)
{
    // Closing through the window manager destroys the window, as on Windows.
    if (manager.IsCloseRequest(event))
    {
        XDestroyWindow(manager.display, window);
        XFlush(manager.display);
    }
}

void QVUIManagerX11::OwnProcedure(QVUIManagerX11& manager, Window window, XEvent& event)
{
    DefaultProcedure(manager, window, event);
}

void QVUIManagerX11::LabelProcedure(QVUIManagerX11& manager, Window window, XEvent& event)
{
    if (event.type == Expose && event.xexpose.count == 0)
    {
        const WindowRecord* record = manager.Find(window);
        if (record != nullptr)
            manager.painter.Text(window, X11Text::Utf8(record->text), 0, 0, TextColour);
        return;
    }
    DefaultProcedure(manager, window, event);
}

void QVUIManagerX11::ButtonProcedure(QVUIManagerX11& manager, Window window, XEvent& event)
{
    WindowRecord* record = manager.Find(window);
    if (record == nullptr)
        return;
    bool redraw = false;
    switch (event.type)
    {
    case Expose:
        redraw = event.xexpose.count == 0;
        break;
    case ButtonPress:
        if (event.xbutton.button == Button1)
        {
            record->armed = true;
            record->pressed = true;
            redraw = true;
        }
        break;
    case EnterNotify:
    case LeaveNotify:
        if (record->armed)
        {
            record->pressed = event.type == EnterNotify;
            redraw = true;
        }
        break;
    case ButtonRelease:
        if (event.xbutton.button == Button1 && record->armed)
        {
            bool clicked = record->pressed;
            record->armed = false;
            record->pressed = false;
            redraw = true;
            if (clicked)
            {
                // Draw released before the command runs: a message box may stay up a while.
                XClearArea(manager.display, window, 0, 0, 0, 0, True);
                manager.SendCommand(record->parent, window);
                return;
            }
        }
        break;
    default:
        DefaultProcedure(manager, window, event);
        return;
    }
    if (!redraw)
        return;
    // The record may have gone if the command destroyed the window; look it up again.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(manager.display, window, &attributes))
        return;
    int width = attributes.width, height = attributes.height;
    X11Painter& painter = manager.painter;
    painter.Fill(window, 0, 0, width, height, FaceColour);
    painter.Frame(window, 0, 0, width, height, !record->pressed);
    std::string text = X11Text::Utf8(record->text);
    int offset = record->pressed ? 1 : 0;
    int textX = (width - painter.TextWidth(text)) / 2 + offset;
    int textY = (height - painter.LineHeight()) / 2 + offset;
    painter.Text(window, text, textX, textY, TextColour);
}
