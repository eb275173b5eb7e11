#include "ui/win32/QVUIManagerW32.h"

#include <cstdint>

namespace
{

const char* const ItemProperty = "QVUIItem";

HWND WindowOf(QVUIItem* item) { return static_cast<HWND>(item->GetWindow()); }

QVUIItem* ItemOf(HWND window) { return static_cast<QVUIItem*>(GetPropA(window, ItemProperty)); }

// Mouse flags reported to listeners, from the key state of a mouse message.
unsigned short MouseFlags(WPARAM keyState)
{
    unsigned short flags = 0;
    if (keyState & MK_SHIFT)
        flags |= QV_MOUSE_SHIFT;
    if (keyState & MK_CONTROL)
        flags |= QV_MOUSE_CONTROL;
    if (keyState & MK_LBUTTON)
        flags |= QV_MOUSE_LEFT;
    if (keyState & MK_MBUTTON)
        flags |= QV_MOUSE_MIDDLE;
    if (keyState & MK_RBUTTON)
        flags |= QV_MOUSE_RIGHT;
    return flags;
}

// A copy of text in 16-bit units (the units of a wide text, the bytes of an 8-bit one).
QVString Widened(const QVString& text)
{
    QVString wide(text);
    wide.SetEncoding(QVString::Wide);
    if (wide.GetWideBuffer() == nullptr)
        wide.Allocate(1);
    return wide;
}

const char* NarrowText(QVString& text)
{
    return text.GetBuffer() != nullptr ? text.GetBuffer() : "";
}

}  // namespace

QVUIManagerW32::QVUIManagerW32()
{
    // Item windows keep this library's procedure for as long as they exist, also after the host
    // released the module: the library stays loaded once loaded.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&WindowProcedure), &self);
    SetFileName("qvuimanagerw32.qvm");
    SetName("UI Manager W32");
    SetPlatform("WIN32");
    SetType("UI Manager");
}

QVUIManagerW32::~QVUIManagerW32() = default;

bool QVUIManagerW32::CreateItem(QVUIItem* item)
{
    if (item->GetManager() != nullptr)
        item->GetManager()->PrepareItem(item);

    HINSTANCE instance = GetModuleHandleA(nullptr);
    std::uint32_t colour = item->GetBackgroundColour();
    // Classes and the procedure are Unicode, so that a 16-bit window text reaches the window
    // unconverted; 8-bit texts still go through the 8-bit calls.
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    // Until the window is subclassed it has no item, and the manager's procedure would only pass
    // messages to the default one: registering that directly keeps the class valid whatever
    // becomes of this library (a class outlives the library that registered it).
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = CreateSolidBrush(colour);

    const char* className = nullptr;
    const WCHAR* registeredName = nullptr;
    DWORD style = WS_CHILD;
    switch (item->GetKind())
    {
    case QV_UI_STATIC:
        className = "QVUIStatic";
        registeredName = L"QVUIStatic";
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        break;
    case QV_UI_WINDOW:
        className = "QVUIWindow";
        registeredName = L"QVUIWindow";
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        if (item->GetParent() == nullptr)
            style = WS_OVERLAPPEDWINDOW;
        break;
    case QV_UI_LABEL:
        className = "STATIC";
        break;
    case QV_UI_BUTTON:
        className = "BUTTON";
        break;
    case QV_UI_HAND_LABEL:
        // The hand cursor is prepared but, the class being the system's, never used.
        className = "STATIC";
        windowClass.hCursor = LoadCursorA(nullptr, IDC_HAND);
        break;
    default:
        DeleteObject(windowClass.hbrBackground);
        return false;
    }
    if (registeredName != nullptr)
    {
        windowClass.lpszClassName = registeredName;
        // Registering again fails harmlessly; the first registration stays in force.
        if (RegisterClassExW(&windowClass) == 0)
            DeleteObject(windowClass.hbrBackground);
    }
    else
    {
        DeleteObject(windowClass.hbrBackground);
    }

    SyncItem(item);
    int x = item->GetX();
    int y = item->GetY();
    HWND parent = item->GetParent() != nullptr ? WindowOf(item->GetParent()) : GetDesktopWindow();
    SyncItem(item);
    int height = item->GetHeight();
    SyncItem(item);
    int width = item->GetWidth();

    // A 16-bit caption is set with the wide call once the window exists.
    QVString& caption = item->GetCaption();
    bool wideCaption = caption.GetEncoding() == QVString::Wide;
    HWND window = CreateWindowExA(0, className, wideCaption ? "" : NarrowText(caption), style, x, y,
                                  width, height, parent, nullptr, instance, nullptr);
    if (window == nullptr)
        return false;
    if (item->GetKind() == QV_UI_STATIC)
        return false;

    LONG_PTR previous =
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure));
    item->SetPreviousProcedure(static_cast<std::uintptr_t>(previous));
    SetPropA(window, ItemProperty, item);
    item->StoreWindow(window);
    if (wideCaption)
        SetWindowTextW(window, reinterpret_cast<LPCWSTR>(Widened(caption).GetWideBuffer()));
    item->StoreVisible(true);
    if (item->GetManager() != nullptr)
        item->GetManager()->ApplyVisibility(item);
    UpdateWindow(window);
    return true;
}

void QVUIManagerW32::ReadVisibility(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    item->StoreVisible(IsWindowVisible(WindowOf(item)) != FALSE);
}

void QVUIManagerW32::ApplyVisibility(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    ShowWindow(WindowOf(item), item->IsVisible() ? SW_SHOW : SW_HIDE);
    ShowCursor(item->IsCursorShown() ? TRUE : FALSE);
}

void QVUIManagerW32::ReadText(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    HWND window = WindowOf(item);
    QVString& caption = item->GetCaption();
    // Room for the whole text, in the caption's own width.
    bool wide = caption.GetEncoding() == QVString::Wide;
    int length = wide ? GetWindowTextLengthW(window) : GetWindowTextLengthA(window);
    if (!caption.Grow(length))
        return;
    int characters = wide ? caption.GetCapacity() / 2 : caption.GetCapacity();
    if (wide)
        GetWindowTextW(window, reinterpret_cast<LPWSTR>(caption.GetWideBuffer()), characters);
    else
        GetWindowTextA(window, caption.GetBuffer(), characters);
    caption.SyncLength();
}

void QVUIManagerW32::ApplyText(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return;
    QVString& caption = item->GetCaption();
    if (caption.GetEncoding() == QVString::Wide)
        SetWindowTextW(WindowOf(item), reinterpret_cast<LPCWSTR>(Widened(caption).GetWideBuffer()));
    else
        SetWindowTextA(WindowOf(item), NarrowText(caption));
}

int QVUIManagerW32::AttachWindow(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return 0;
    HWND window = WindowOf(item);
    LONG_PTR previous =
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure));
    item->SetPreviousProcedure(static_cast<std::uintptr_t>(previous));
    SetPropA(window, ItemProperty, item);
    UpdateWindow(window);
    return 1;
}

int QVUIManagerW32::Invalidate(QVUIItem* item)
{
    if (item->GetWindow() == nullptr)
        return 0;
    return InvalidateRect(WindowOf(item), nullptr, FALSE);
}

int QVUIManagerW32::PostQuit(QVUIItem* item) { return PostMessageA(WindowOf(item), WM_QUIT, 0, 0); }

bool QVUIManagerW32::ProcessMessages(QVUIItem* item, bool wait)
{
    if (item->IsClosed())
        return false;
    // Without a window the null handle would take every message of the thread, and a loop on an
    // empty queue would only spin.
    if (item->GetWindow() == nullptr)
        return false;
    MSG message;
    bool result = true;
    if (wait)
    {
        // 0 is the quit message and -1 a failure (the window is gone): in both cases the
        // message record holds nothing to dispatch.
        if (GetMessageA(&message, WindowOf(item), 0, 0) <= 0)
            return false;
    }
    else if (!PeekMessageA(&message, WindowOf(item), 0, 0, PM_REMOVE))
    {
        return true;
    }
    if (message.message == WM_DESTROY || message.message == WM_CLOSE)
    {
        PostQuitMessage(0);
        return false;
    }
    if (message.message == WM_QUIT)
        return false;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return result;
}

bool QVUIManagerW32::AskYesNo(QVString& text, QVString& caption)
{
    return ShowBox(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

int QVUIManagerW32::AskYesNoCancel(QVString& text, QVString& caption)
{
    switch (ShowBox(text, caption, MB_YESNOCANCEL | MB_ICONQUESTION))
    {
    case IDYES:
        return 1;
    case IDNO:
        return 0;
    default:
        return 2;
    }
}

int QVUIManagerW32::ShowMessage(QVString& text, QVString& caption)
{
    return ShowBox(text, caption, MB_OK);
}

int QVUIManagerW32::SetCursorPosition(QVUIItem* item, int x, int y)
{
    if (item->GetWindow() == nullptr)
        return 0;
    POINT point = {x, y};
    ClientToScreen(WindowOf(item), &point);
    return SetCursorPos(point.x, point.y);
}

int QVUIManagerW32::ShowBox(QVString& text, QVString& caption, UINT style)
{
    if (text.GetEncoding() == QVString::Wide || caption.GetEncoding() == QVString::Wide)
    {
        QVString wideText = Widened(text);
        QVString wideCaption = Widened(caption);
        return MessageBoxW(nullptr, reinterpret_cast<LPCWSTR>(wideText.GetWideBuffer()),
                           reinterpret_cast<LPCWSTR>(wideCaption.GetWideBuffer()), style);
    }
    return MessageBoxA(nullptr, NarrowText(text), NarrowText(caption), style);
}

LRESULT CALLBACK QVUIManagerW32::WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam)
{
    QVUIItem* item = ItemOf(window);
    if (item == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);

    WNDPROC chained = reinterpret_cast<WNDPROC>(item->GetPreviousProcedure());
    if (chained == nullptr || chained == &WindowProcedure)
        chained = DefWindowProcW;

    QVUIListener* listener = item->GetListener();
    if (listener == nullptr)
        return CallWindowProcW(chained, window, message, wParam, lParam);

    switch (message)
    {
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUIT:
        PostQuitMessage(0);
        item->StoreClosed(true);
        break;
    case WM_SIZE:
        listener->OnSize(item, LOWORD(lParam), HIWORD(lParam));
        if (wParam == SIZE_MINIMIZED)
            listener->OnMinimize(item);
        else if (wParam == SIZE_MAXIMIZED)
            listener->OnMaximize(item);
        break;
    case WM_KEYDOWN:
        listener->OnKeyDown(item, 0, static_cast<int>(wParam & 0xFFFF));
        break;
    case WM_KEYUP:
        listener->OnKeyUp(item, 0, static_cast<int>(wParam & 0xFFFF));
        break;
    case WM_COMMAND:
        listener->OnCommand(ItemOf(reinterpret_cast<HWND>(lParam)));
        break;
    case WM_MOUSEMOVE:
        listener->OnMouseMove(item, MouseFlags(wParam), static_cast<short>(LOWORD(lParam)),
                              static_cast<short>(HIWORD(lParam)), 0);
        break;
    default:
        break;
    }
    LRESULT result = CallWindowProcW(chained, window, message, wParam, lParam);
    // The window is gone after this message: drop the tag so that its atom is not leaked.
    if (message == WM_NCDESTROY)
        RemovePropA(window, ItemProperty);
    return result;
}
