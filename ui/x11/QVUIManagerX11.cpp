#include "ui/x11/QVUIManagerX11.h"

#include "ui/x11/X11Items.h"
#include "ui/x11/X11MessageBox.h"
#include "ui/x11/X11Text.h"

#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/cursorfont.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <mutex>

namespace
{

// Protocol errors concern windows that went away or ids a host passed in; the operation that
// caused one simply has no effect, as the matching Windows call would fail.
int IgnoreProtocolError(Display*, XErrorEvent*) { return 0; }

// 0x00BBGGRR (the items' colour form) to 0xRRGGBB.
std::uint32_t RgbOf(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace

QVUIManagerX11::QVUIManagerX11()
{
    SetFileName("qvuimanagerx11.qvm");
    SetName("UI Manager X11");
    SetPlatform("Linux");
    SetType("UI Manager");
}

QVUIManagerX11::~QVUIManagerX11()
{
    if (display == nullptr)
        return;
    painter.Close();
    if (arrowCursor != 0)
        XFreeCursor(display, arrowCursor);
    if (blankCursor != 0)
        XFreeCursor(display, blankCursor);
    if (colormap != 0)
        XFreeColormap(display, colormap);
    records.clear();
    // Closing the display also frees what Xft keeps for it; fontconfig's own configuration goes
    // with FcFini. Nothing else in a QV process uses fontconfig.
    XCloseDisplay(display);
    display = nullptr;
    FcFini();
}

bool QVUIManagerX11::EnsureDisplay()
{
    // Applets on several threads may make their first windows at once: one of them opens the
    // connection, and the others see it only when everything below is ready.
    std::lock_guard<std::mutex> lock(displayLock);
    if (display != nullptr)
        return true;
    Display* const opening = XOpenDisplay(nullptr);
    if (opening == nullptr)
        return false;
    XSetErrorHandler(IgnoreProtocolError);
    int screen = DefaultScreen(opening);

    // A visual that GLX can render into, preferring what renderers ask for.
    int withStencil[] = {GLX_RGBA,
                         GLX_DOUBLEBUFFER,
                         GLX_RED_SIZE,
                         8,
                         GLX_GREEN_SIZE,
                         8,
                         GLX_BLUE_SIZE,
                         8,
                         GLX_DEPTH_SIZE,
                         24,
                         GLX_STENCIL_SIZE,
                         8,
                         None};
    int withDepth[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_DEPTH_SIZE, 16, None};
    int anyRgba[] = {GLX_RGBA, None};
    XVisualInfo* chosen = nullptr;
    int errorBase = 0, eventBase = 0;
    if (glXQueryExtension(opening, &errorBase, &eventBase))
    {
        for (int* attributes : {withStencil, withDepth, anyRgba})
        {
            chosen = glXChooseVisual(opening, screen, attributes);
            if (chosen != nullptr)
                break;
        }
    }
    if (chosen != nullptr)
    {
        visualInfo = *chosen;
        XFree(chosen);
    }
    else
    {
        // No GLX: the windows still work, only OpenGL cannot draw into them.
        visualInfo.visual = DefaultVisual(opening, screen);
        visualInfo.visualid = XVisualIDFromVisual(visualInfo.visual);
        visualInfo.screen = screen;
        visualInfo.depth = DefaultDepth(opening, screen);
        visualInfo.red_mask = visualInfo.visual->red_mask;
        visualInfo.green_mask = visualInfo.visual->green_mask;
        visualInfo.blue_mask = visualInfo.visual->blue_mask;
    }
    colormap = XCreateColormap(opening, RootWindow(opening, screen), visualInfo.visual, AllocNone);
    painter.Open(opening, visualInfo.visual, colormap, visualInfo.depth);

    arrowCursor = XCreateFontCursor(opening, XC_left_ptr);
    Pixmap empty = XCreatePixmap(opening, RootWindow(opening, screen), 1, 1, 1);
    XColor black = {};
    blankCursor = XCreatePixmapCursor(opening, empty, empty, &black, &black, 0, 0);
    XFreePixmap(opening, empty);

    protocolsAtom = XInternAtom(opening, "WM_PROTOCOLS", False);
    deleteWindowAtom = XInternAtom(opening, "WM_DELETE_WINDOW", False);
    quitAtom = XInternAtom(opening, "_QV_UI_QUIT", False);
    netWmNameAtom = XInternAtom(opening, "_NET_WM_NAME", False);
    netWmStateAtom = XInternAtom(opening, "_NET_WM_STATE", False);
    netWmStateHiddenAtom = XInternAtom(opening, "_NET_WM_STATE_HIDDEN", False);
    netWmStateMaxVertAtom = XInternAtom(opening, "_NET_WM_STATE_MAXIMIZED_VERT", False);
    netWmStateMaxHorzAtom = XInternAtom(opening, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
    utf8Atom = XInternAtom(opening, "UTF8_STRING", False);

    // Held keys repeat as presses only, as on Windows, not as release-press pairs.
    XkbSetDetectableAutoRepeat(opening, True, nullptr);
    display = opening;
    return true;
}

QVUIManagerX11::WindowRecord& QVUIManagerX11::Record(Window window)
{
    std::lock_guard<std::mutex> lock(recordsLock);
    return records[window];
}

QVUIManagerX11::WindowRecord& QVUIManagerX11::Store(Window window, const WindowRecord& record)
{
    std::lock_guard<std::mutex> lock(recordsLock);
    WindowRecord& stored = records[window];
    stored = record;
    return stored;
}

QVUIManagerX11::WindowRecord* QVUIManagerX11::Find(Window window)
{
    std::lock_guard<std::mutex> lock(recordsLock);
    auto found = records.find(window);
    return found != records.end() ? &found->second : nullptr;
}

const QVUIManagerX11::WindowRecord* QVUIManagerX11::Find(Window window) const
{
    std::lock_guard<std::mutex> lock(recordsLock);
    auto found = records.find(window);
    return found != records.end() ? &found->second : nullptr;
}

bool QVUIManagerX11::IsWithin(Window window, Window ancestor) const
{
    // Parents recorded at creation; bounded in case a host attached windows in a cycle.
    for (int depth = 0; window != 0 && depth < 64; ++depth)
    {
        if (window == ancestor)
            return true;
        const WindowRecord* record = Find(window);
        if (record == nullptr)
            return false;
        window = record->parent;
    }
    return false;
}

bool QVUIManagerX11::CreateItem(QVUIItem* item)
{
    if (item->GetManager() != nullptr)
        item->GetManager()->PrepareItem(item);

    X11Procedure procedure = nullptr;
    std::uint32_t background = RgbOf(item->GetBackgroundColour());
    long events = ExposureMask | StructureNotifyMask;
    switch (item->GetKind())
    {
    case QV_UI_STATIC:
    case QV_UI_WINDOW:
        procedure = &OwnProcedure;
        events |= KeyPressMask | KeyReleaseMask | PointerMotionMask | ButtonPressMask |
                  ButtonReleaseMask | PropertyChangeMask | FocusChangeMask;
        break;
    case QV_UI_LABEL:
    case QV_UI_HAND_LABEL:
        procedure = &LabelProcedure;
        background = FaceColour;
        break;
    case QV_UI_BUTTON:
        procedure = &ButtonProcedure;
        background = FaceColour;
        events |= ButtonPressMask | ButtonReleaseMask | EnterWindowMask | LeaveWindowMask;
        break;
    default:
        return false;
    }
    if (!EnsureDisplay())
        return false;

    SyncItem(item);
    int x = item->GetX();
    int y = item->GetY();
    QVUIItem* parentItem = item->GetParent();
    Window parent = parentItem != nullptr ? WindowOf(parentItem) : 0;
    if (parentItem != nullptr && parent == 0)
        return false;  // the parent has no window yet: nothing to place this one in
    SyncItem(item);
    int height = item->GetHeight();
    SyncItem(item);
    int width = item->GetWidth();

    XSetWindowAttributes attributes = {};
    attributes.colormap = colormap;
    attributes.background_pixel = painter.Pixel(background);
    attributes.border_pixel = 0;
    attributes.event_mask = events;
    attributes.cursor = arrowCursor;
    Window root = RootWindow(display, visualInfo.screen);
    // X refuses empty windows; Windows makes them. One pixel stands in for nothing.
    Window window = XCreateWindow(
        display, parent != 0 ? parent : root, x, y, static_cast<unsigned>(std::max(width, 1)),
        static_cast<unsigned>(std::max(height, 1)), 0, visualInfo.depth, InputOutput,
        visualInfo.visual, CWColormap | CWBackPixel | CWBorderPixel | CWEventMask | CWCursor,
        &attributes);
    if (window == 0)
        return false;

    WindowRecord made;
    made.parent = parent;
    made.procedure = procedure;
    made.text = QVCaptionUnits::Units(item->GetCaption());
    made.width = width;
    made.height = height;
    WindowRecord& record = Store(window, made);
    if (parent == 0)
    {
        XSizeHints hints = {};
        hints.flags = USPosition | USSize;
        hints.x = x;
        hints.y = y;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(display, window, &hints);
        XWMHints wmHints = {};
        wmHints.flags = InputHint | StateHint;
        wmHints.input = True;
        wmHints.initial_state = NormalState;
        XSetWMHints(display, window, &wmHints);
        XSetWMProtocols(display, window, &deleteWindowAtom, 1);
        XClassHint classHint;
        char name[] = "qvui";
        char className[] = "QVUIWindow";
        classHint.res_name = name;
        classHint.res_class = className;
        XSetClassHint(display, window, &classHint);
    }
    // Every window carries its text as its name, as every Windows window has a text that tools
    // can read (a top-level window's is its title).
    SetTitle(window, record.text);
    if (item->GetKind() == QV_UI_STATIC)
    {
        XFlush(display);
        return false;  // the window exists but the item is not attached to it
    }

    item->SetPreviousProcedure(reinterpret_cast<std::uintptr_t>(procedure));
    record.item = item;
    item->StoreWindow(HandleOf(window));
    item->StoreVisible(true);
    if (item->GetManager() != nullptr)
        item->GetManager()->ApplyVisibility(item);
    // A round trip: once CreateItem returns the window exists on the server, so another
    // connection (a renderer's, a test's) may use its id at once.
    XSync(display, False);
    return true;
}

void QVUIManagerX11::DestroyItem(QVUIItem* item)
{
    QVUIManager::DestroyItem(item);
    if (item->GetWindow() == nullptr)
        return;
    std::lock_guard<std::mutex> lock(recordsLock);
    auto found = records.find(WindowOf(item));
    if (found != records.end() && found->second.item == item)
        found->second.item = nullptr;
}

void QVUIManagerX11::ReadVisibility(QVUIItem* item)
{
    if (item->GetWindow() == nullptr || display == nullptr)
        return;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, WindowOf(item), &attributes))
        item->StoreVisible(attributes.map_state == IsViewable);
}

void QVUIManagerX11::ApplyVisibility(QVUIItem* item)
{
    if (item->GetWindow() == nullptr || display == nullptr)
        return;
    Window window = WindowOf(item);
    if (item->IsVisible())
        XMapWindow(display, window);
    else
        XUnmapWindow(display, window);
    // Like the Windows cursor display count: each call counts one up or down, and the cursor
    // shows over the window while the count is not negative.
    cursorCount += item->IsCursorShown() ? 1 : -1;
    XDefineCursor(display, window, cursorCount >= 0 ? arrowCursor : blankCursor);
    XFlush(display);
}

void QVUIManagerX11::ReadText(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    const WindowRecord* record = Find(WindowOf(item));
    QVCaptionUnits::Store(record != nullptr ? record->text : std::u16string(), item->GetCaption());
}

void QVUIManagerX11::ApplyText(QVUIItem* item)
{
    if (item->GetWindow() == nullptr || display == nullptr)
        return;
    Window window = WindowOf(item);
    WindowRecord* record = Find(window);
    if (record == nullptr)
        return;
    record->text = QVCaptionUnits::Units(item->GetCaption());
    SetTitle(window, record->text);
    XClearArea(display, window, 0, 0, 0, 0, True);
    XFlush(display);
}

int QVUIManagerX11::AttachWindow(QVUIItem* item)
{
    if (item->GetWindow() == nullptr || !EnsureDisplay())
        return 0;
    Window window = WindowOf(item);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return 0;
    // The window keeps what it did by itself: its own procedure when the window is one of ours;
    // a window of another client keeps being served by that client, which still gets its events.
    WindowRecord& record = Record(window);
    item->SetPreviousProcedure(reinterpret_cast<std::uintptr_t>(record.procedure));
    record.item = item;
    record.width = attributes.width;
    record.height = attributes.height;
    if (record.procedure == nullptr)
    {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count))
        {
            if (children != nullptr)
                XFree(children);
            record.parent = parent == root ? 0 : parent;
        }
    }
    XSelectInput(display, window,
                 ExposureMask | StructureNotifyMask | KeyPressMask | KeyReleaseMask |
                     PointerMotionMask | PropertyChangeMask);
    XClearArea(display, window, 0, 0, 0, 0, True);
    // A round trip: once AttachWindow returns, the server delivers the window's events to the
    // manager too. With a flush only, an event another client sends at once could still be
    // handled before the selection (the window's owner is such a client).
    XSync(display, False);
    return 1;
}

int QVUIManagerX11::Invalidate(QVUIItem* item)
{
    if (item->GetWindow() == nullptr || display == nullptr)
        return 0;
    XClearArea(display, WindowOf(item), 0, 0, 0, 0, True);
    XFlush(display);
    return 1;
}

int QVUIManagerX11::PostQuit(QVUIItem* item)
{
    if (item->GetWindow() == nullptr || display == nullptr)
        return 0;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = WindowOf(item);
    event.xclient.message_type = quitAtom;
    event.xclient.format = 32;
    // Through the server, so that it queues behind the events already on their way, as a posted
    // message does; the round trip puts it in our queue before PostQuit returns.
    Status sent = XSendEvent(display, WindowOf(item), False, StructureNotifyMask, &event);
    XSync(display, False);
    return sent != 0 ? 1 : 0;
}

void QVUIManagerX11::SetTitle(Window window, const std::u16string& text)
{
    std::string utf8 = X11Text::Utf8(text);
    XChangeProperty(display, window, netWmNameAtom, utf8Atom, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()),
                    static_cast<int>(utf8.size()));
    // WM_NAME in Latin-1 for window managers and tools that read only that.
    std::string latin1;
    for (char16_t unit : text)
        latin1.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
    XChangeProperty(display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.data()),
                    static_cast<int>(latin1.size()));
}
bool QVUIManagerX11::AskYesNo(QVString& text, QVString& caption)
{
    return RunBox(text, caption, X11MessageBox::YesNo) == QV_UI_RESULT_YES;
}

int QVUIManagerX11::AskYesNoCancel(QVString& text, QVString& caption)
{
    switch (RunBox(text, caption, X11MessageBox::YesNoCancel))
    {
    case QV_UI_RESULT_YES:
        return 1;
    case QV_UI_RESULT_NO:
        return 0;
    default:
        return 2;
    }
}

int QVUIManagerX11::ShowMessage(QVString& text, QVString& caption)
{
    return RunBox(text, caption, X11MessageBox::Ok);
}

int QVUIManagerX11::RunBox(QVString& text, QVString& caption, int buttons)
{
    if (!EnsureDisplay())
        return 0;  // as a Windows message box that could not be shown
    X11MessageBox box(*this, static_cast<X11MessageBox::Buttons>(buttons));
    return box.Run(QVCaptionUnits::Units(text), QVCaptionUnits::Units(caption));
}

int QVUIManagerX11::SetCursorPosition(QVUIItem* item, int x, int y)
{
    if (item->GetWindow() == nullptr || display == nullptr)
        return 0;
    XWarpPointer(display, None, WindowOf(item), 0, 0, 0, 0, x, y);
    XFlush(display);
    return 1;
}
