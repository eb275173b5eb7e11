#pragma once

#include "ui/QVUIManager.h"
#include "ui/x11/X11Painter.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

class QVUIManagerX11;

// What a window does by itself with an event, after the listener has seen it: the X11 stand-in
// for a window procedure. Labels and buttons have their own; every other window the default.
using X11Procedure = void (*)(QVUIManagerX11& manager, Window window, XEvent& event);

// The UI manager on X11 (module "qvuimanagerx11.qvm").
//
// - The manager opens its own connection to the display named by DISPLAY, on first use (loading
//   the module touches no display), and closes it when the module is released.
// - Every item is an X window; the item's window field holds the window id (an XID, valid on
//   every connection to the same display). Windows are made with a GLX-capable visual
//   (glXChooseVisual: RGBA, double-buffered, depth and stencil where available), so a renderer
//   can draw into a Window item with OpenGL. A renderer reaches the display through the instance
//   handle of its setup record: on Linux the program entry opens a connection to the same display
//   and passes it as the program's instance handle (a Display*); the renderer makes its GLX
//   context on that connection with the window id of the setup record. When the instance handle
//   is null, a renderer opens its own connection with XOpenDisplay(nullptr).
// - Labels and buttons are child windows that draw their caption themselves (Xft, anti-aliased
//   DejaVu Sans); a button draws a 3D frame, shows press feedback and, when clicked, reports
//   OnCommand with its item to the listener of the window that contains it.
// - Each window has a record (the stand-in for Windows' window properties): the item it is
//   tagged with, its parent, its own procedure and its text. The item keeps the procedure to
//   chain to, as on Windows.
// - Key events carry Windows virtual-key codes, mouse moves the listener's mouse flags; closing
//   a top-level window through the window manager (WM_DELETE_WINDOW) marks the item closed and
//   then destroys the window, as Windows does.
// - ProcessMessages takes only events of the item's window and its children; other events stay
//   queued. Loops of several threads (applets in the browser plug-in) may share the manager:
//   waiting leaves the connection free for the others. PostQuit sends a client message to the item's window, which ProcessMessages turns
//   into false.
// - Message boxes are modal dialogs of their own (X11MessageBox) answerable by mouse and keys.
// - X protocol errors (a window destroyed under us, a bad window id given to AttachWindow) are
//   ignored instead of ending the process: the manager installs a tolerant error handler.
class QVUIManagerX11 : public QVUIManager
{
public:
    // Sets the descriptor strings; opens no display.
    QVUIManagerX11();
    // Destroys the records and closes the display connection (and with it every window).
    ~QVUIManagerX11() override;

    bool CreateItem(QVUIItem* item) override;
    // Also unties the window's record from the item, so that events still queued for the window
    // never reach an item its host has freed (a message box handles every window's events).
    void DestroyItem(QVUIItem* item) override;
    void ReadVisibility(QVUIItem* item) override;
    void ApplyVisibility(QVUIItem* item) override;
    void ReadText(QVUIItem* item) override;
    void ApplyText(QVUIItem* item) override;
    int AttachWindow(QVUIItem* item) override;
    int Invalidate(QVUIItem* item) override;
    int PostQuit(QVUIItem* item) override;
    bool ProcessMessages(QVUIItem* item, bool wait) override;
    bool AskYesNo(QVString& text, QVString& caption) override;
    int AskYesNoCancel(QVString& text, QVString& caption) override;
    int ShowMessage(QVString& text, QVString& caption) override;
    int SetCursorPosition(QVUIItem* item, int x, int y) override;

    // Routes one event to the listener of the window's item and then to the procedure the item
    // chains to: the X11 window procedure. Events of windows without a record are dropped.
    void DispatchEvent(XEvent& event);

    // Whether event is a quit message of PostQuit (a modal dialog keeps these for the loop
    // that waits for them).
    bool IsQuitMessage(const XEvent& event) const;
    // Whether event is the window manager asking to close its window.
    bool IsCloseRequest(const XEvent& event) const;

    Display* GetDisplay() const { return display; }
    X11Painter& GetPainter() { return painter; }
    const XVisualInfo& GetVisualInfo() const { return visualInfo; }
    Colormap GetColormap() const { return colormap; }
    Cursor GetArrowCursor() const { return arrowCursor; }
    Atom GetProtocolsAtom() const { return protocolsAtom; }
    Atom GetDeleteWindowAtom() const { return deleteWindowAtom; }
    // Gives a top-level window its title (WM_NAME and the UTF-8 _NET_WM_NAME).
    void SetTitle(Window window, const std::u16string& text);

private:
    struct WindowRecord
    {
        QVUIItem* item = nullptr;          // the item the window is tagged with, or null
        Window parent = 0;                 // parent window, 0 for a top-level one
        X11Procedure procedure = nullptr;  // what the window does by itself
        std::u16string text;               // the window text
        int width = 0;
        int height = 0;
        bool pressed = false;  // button: drawn pushed in
        bool armed = false;    // button: the left button went down on it
        bool minimised = false;
        bool maximised = false;
    };

    // The window and its descendants whose events one ProcessMessages call may take.
    struct EventFilter
    {
        const void* manager;
        Window window;
    };

    // Opens the display connection and chooses the visual on first use. False without a display.
    bool EnsureDisplay();
    // Records are looked up and changed under recordsLock (applets on several threads share the
    // manager); a record stays where it is until its window's destruction is handled, so a
    // found record is used after the lock is left. No Xlib call is made under the lock: the
    // event filter takes it inside Xlib's own lock.
    WindowRecord& Record(Window window);
    WindowRecord& Store(Window window, const WindowRecord& record);
    WindowRecord* Find(Window window);
    const WindowRecord* Find(Window window) const;
    // Whether window is ancestor or lies below it, following the records' parents.
    bool IsWithin(Window window, Window ancestor) const;
    static Bool MatchesItemWindow(Display* display, XEvent* event, XPointer argument);
    // Waits for the next event that filter takes, without holding the connection's lock.
    void WaitForEvent(XEvent& event, EventFilter& filter);
    void WatchWindowManagerState(Window window, WindowRecord& record, XEvent& event);
    // The WM_COMMAND of a button: reaches the listener of the item of the parent window.
    void SendCommand(Window parent, Window control);
    int RunBox(QVString& text, QVString& caption, int buttons);

    static void DefaultProcedure(QVUIManagerX11& manager, Window window, XEvent& event);
    static void LabelProcedure(QVUIManagerX11& manager, Window window, XEvent& event);
    static void ButtonProcedure(QVUIManagerX11& manager, Window window, XEvent& event);
    // The manager's own procedure: a previous procedure equal to it chains to the default.
    static void OwnProcedure(QVUIManagerX11& manager, Window window, XEvent& event);

    Display* display = nullptr;
    XVisualInfo visualInfo = {};
    Colormap colormap = 0;
    X11Painter painter;
    Cursor arrowCursor = 0;
    Cursor blankCursor = 0;
    int cursorCount = 0;  // shown while >= 0, as the Windows cursor display count
    Atom protocolsAtom = 0;
    Atom deleteWindowAtom = 0;
    Atom quitAtom = 0;
    Atom netWmNameAtom = 0;
    Atom netWmStateAtom = 0;
    Atom netWmStateHiddenAtom = 0;
    Atom netWmStateMaxVertAtom = 0;
    Atom netWmStateMaxHorzAtom = 0;
    Atom utf8Atom = 0;
    std::unordered_map<Window, WindowRecord> records;
    mutable std::mutex recordsLock;
    std::mutex displayLock;
};
