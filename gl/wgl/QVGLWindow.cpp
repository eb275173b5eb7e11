#include "gl/QVGLWindow.h"

#include <windows.h>

namespace
{
const char kClassName[] = "WinSample";
const char kTitle[] = "Window Sample";

// The display mode record as the system knew it before the panning fields were added: callers
// that say 148 bytes are read up to the reserved fields.
const WORD kDisplayModeRecordSize = 148;

// Bits per pixel, width and height (0x1C0000) in full-screen mode (CDS_FULLSCREEN, 4): the
// system puts the mode back when the process ends.
bool SwitchMode(int width, int height, int colourBits)
{
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = kDisplayModeRecordSize;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(colourBits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}
}  // namespace

QVGLWindow::QVGLWindow()
    : window(nullptr), connection(nullptr), ownConnection(false), fullScreen(false),
      modeToRestore(false)
{
}

QVGLWindow::~QVGLWindow() { RestoreDisplayMode(); }

bool QVGLWindow::Create(const Request& request)
{
    if (window != nullptr)
    {
        return false;  // one window per object
    }
    HINSTANCE instance = static_cast<HINSTANCE>(request.instance);
    // Without a procedure from the host the class gets the default one, which closes and
    // destroys the window as usual. The result is not examined: a class that an earlier
    // renderer registered serves as well.
    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = request.windowProcedure != nullptr
                                  ? reinterpret_cast<WNDPROC>(request.windowProcedure)
                                  : DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);

    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD extendedStyle = WS_EX_APPWINDOW;
    RECT rect = {0, 0, request.width, request.height};
    bool switched = false;
    if (!request.fullScreen)
    {
        AdjustWindowRectEx(&rect, style, FALSE, extendedStyle);
    }
    else if (SwitchMode(request.width, request.height, request.colourBits))
    {
        switched = true;
        ShowCursor(FALSE);
        style = WS_POPUP;
        extendedStyle |= WS_EX_TOPMOST;
    }
    HWND made = CreateWindowExA(extendedStyle, kClassName, kTitle, style, request.x, request.y,
                                rect.right - rect.left, rect.bottom - rect.top, GetDesktopWindow(),
                                nullptr, instance, nullptr);
    if (made == nullptr)
    {
        return false;
    }
    window = made;
    fullScreen = switched;
    modeToRestore = switched;
    return true;
}

void QVGLWindow::Show()
{
    if (window != nullptr)
    {
        ShowWindow(static_cast<HWND>(window), SW_SHOWNORMAL);
        UpdateWindow(static_cast<HWND>(window));
    }
}

bool QVGLWindow::PumpMessage(QVHandle rendererWindow)
{
    HWND hwnd = static_cast<HWND>(rendererWindow);
    // A null filter would take the messages of every window of the thread.
    if (hwnd == nullptr)
    {
        return false;
    }
    // The default procedure destroys a window on WM_CLOSE while handling the close command,
    // without anything in the queue: a window that is gone has been closed.
    if (!IsWindow(hwnd))
    {
        return true;
    }
    MSG message;
    if (PeekMessageA(&message, hwnd, 0, 0, PM_REMOVE) && !TranslateMessage(&message))
    {
        if (message.message == WM_DESTROY || message.message == WM_CLOSE)
        {
            return true;
        }
        // Handled by default, not dispatched to the class's procedure.
        DefWindowProcA(message.hwnd, message.message, message.wParam, message.lParam);
    }
    return false;
}

void QVGLWindow::RestoreDisplayMode()
{
    // The system ends a full-screen mode change with the process.
    modeToRestore = false;
}
