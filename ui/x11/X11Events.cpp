// The manager's event loop: waiting for the events of one item's windows, and routing each to
// the listener of its window's item and on to the window's procedure.
#include "ui/x11/QVUIManagerX11.h"

#include "ui/x11/X11Items.h"
#include "ui/x11/X11VirtualKeys.h"

#include <X11/Xatom.h>

#include <mutex>

#include <poll.h>

namespace
{

unsigned short MouseFlags(unsigned int state)
{
    unsigned short flags = 0;
    if (state & ShiftMask)
        flags |= QV_MOUSE_SHIFT;
    if (state & ControlMask)
        flags |= QV_MOUSE_CONTROL;
    if (state & Button1Mask)
        flags |= QV_MOUSE_LEFT;
    if (state & Button2Mask)
        flags |= QV_MOUSE_MIDDLE;
    if (state & Button3Mask)
        flags |= QV_MOUSE_RIGHT;
    return flags;
}

}  // namespace

Bool QVUIManagerX11::MatchesItemWindow(Display*, XEvent* event, XPointer argument)
{
    const EventFilter* filter = reinterpret_cast<const EventFilter*>(argument);
    const QVUIManagerX11* manager = static_cast<const QVUIManagerX11*>(filter->manager);
    return manager->IsWithin(event->xany.window, filter->window) ? True : False;
}

bool QVUIManagerX11::ProcessMessages(QVUIItem* item, bool wait)
{
    if (item->IsClosed())
        return false;
    // Nothing to take messages for: a loop that went on would only spin.
    if (display == nullptr || item->GetWindow() == nullptr)
        return false;
    EventFilter filter = {this, WindowOf(item)};
    XEvent event;
    if (wait)
    {
        WaitForEvent(event, filter);
    }
    else if (!XCheckIfEvent(display, &event, &MatchesItemWindow,
                            reinterpret_cast<XPointer>(&filter)))
    {
        return true;
    }
    if (IsQuitMessage(event))
        return false;
    DispatchEvent(event);
    // The item's own window went away: the loop that serves it ends.
    if (event.type == DestroyNotify && event.xdestroywindow.window == filter.window)
        return false;
    return true;
}

void QVUIManagerX11::WaitForEvent(XEvent& event, EventFilter& filter)
{
    // Xlib's own blocking wait (XIfEvent) holds the connection's lock until an event comes, so
    // another thread of the process (a browser's, that posts a quit to an applet's window or
    // hands it a key) could not use the manager meanwhile. The wait is done here instead, with
    // the lock free: the connection is polled, briefly, since another thread that reads the
    // connection may take this window's events off it into the queue, where only a new look
    // finds them.
    const int connection = ConnectionNumber(display);
    while (!XCheckIfEvent(display, &event, &MatchesItemWindow, reinterpret_cast<XPointer>(&filter)))
    {
        XFlush(display);
        pollfd readable = {connection, POLLIN, 0};
        poll(&readable, 1, 20);
    }
}

bool QVUIManagerX11::IsQuitMessage(const XEvent& event) const
{
    return event.type == ClientMessage && event.xclient.message_type == quitAtom && quitAtom != 0;
}

bool QVUIManagerX11::IsCloseRequest(const XEvent& event) const
{
    return event.type == ClientMessage && event.xclient.message_type == protocolsAtom &&
           static_cast<Atom>(event.xclient.data.l[0]) == deleteWindowAtom;
}

void QVUIManagerX11::DispatchEvent(XEvent& event)
{
    Window window = event.xany.window;
    WindowRecord* record = Find(window);
    if (record == nullptr)
        return;
    QVUIItem* item = record->item;
    X11Procedure chained = record->procedure != nullptr ? record->procedure : &DefaultProcedure;
    if (item != nullptr)
    {
        chained = reinterpret_cast<X11Procedure>(item->GetPreviousProcedure());
        if (chained == nullptr || chained == &OwnProcedure)
            chained = &DefaultProcedure;
        QVUIListener* listener = item->GetListener();
        if (listener != nullptr)
        {
            switch (event.type)
            {
            case ClientMessage:
                if (IsCloseRequest(event) || IsQuitMessage(event))
                    item->StoreClosed(true);
                break;
            case DestroyNotify:
                if (event.xdestroywindow.window == window)
                    item->StoreClosed(true);
                break;
            case ConfigureNotify:
                if (event.xconfigure.window == window &&
                    (event.xconfigure.width != record->width ||
                     event.xconfigure.height != record->height))
                {
                    record->width = event.xconfigure.width;
                    record->height = event.xconfigure.height;
                    listener->OnSize(item, record->width, record->height);
                }
                break;
            case PropertyNotify:
                if (event.xproperty.atom == netWmStateAtom)
                    WatchWindowManagerState(window, *record, event);
                break;
            case KeyPress:
            case KeyRelease:
            {
                int key = X11VirtualKeys::FromKeySym(XLookupKeysym(&event.xkey, 0));
                if (key == 0)
                    break;
                if (event.type == KeyPress)
                    listener->OnKeyDown(item, 0, key);
                else
                    listener->OnKeyUp(item, 0, key);
                break;
            }
            case MotionNotify:
                listener->OnMouseMove(item, MouseFlags(event.xmotion.state), event.xmotion.x,
                                      event.xmotion.y, 0);
                break;
            default:
                break;
            }
        }
    }
    chained(*this, window, event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == window)
    {
        std::lock_guard<std::mutex> lock(recordsLock);
        records.erase(window);
    }
}

void QVUIManagerX11::WatchWindowManagerState(Window window, WindowRecord& record, XEvent&)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netWmStateAtom, 0, 64, False, XA_ATOM, &type, &format,
                           &count, &remaining, &data) != Success)
        return;
    bool hidden = false, vertical = false, horizontal = false;
    if (data != nullptr && format == 32)
    {
        const long* atoms = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i < count; ++i)
        {
            Atom atom = static_cast<Atom>(atoms[i]);
            hidden |= atom == netWmStateHiddenAtom;
            vertical |= atom == netWmStateMaxVertAtom;
            horizontal |= atom == netWmStateMaxHorzAtom;
        }
    }
    if (data != nullptr)
        XFree(data);
    bool maximised = vertical && horizontal;
    QVUIListener* listener = record.item->GetListener();
    // As Windows reports it: a size of 0 x 0 with the minimised state; the real size again when
    // the window comes back, since a host that sized its drawing to nothing would otherwise keep
    // drawing nothing; the new size with the maximised state (also when a maximised window is
    // restored from minimised).
    if (hidden && !record.minimised)
    {
        listener->OnSize(record.item, 0, 0);
        listener->OnMinimize(record.item);
    }
    else if (!hidden && (record.minimised || (maximised && !record.maximised)))
    {
        listener->OnSize(record.item, record.width, record.height);
        if (maximised)
            listener->OnMaximize(record.item);
    }
    record.minimised = hidden;
    record.maximised = maximised;
}
