// Win32 test driver: events arrive as the system delivers them, posted or sent to the window.
#include "tests/ui/UITestDriver.h"

#include "ui/QVUIListener.h"
#include "ui/win32/QVUIManagerW32.h"

#include <windows.h>

#include <map>

namespace
{

HWND WindowOf(QVHandle handle) { return static_cast<HWND>(handle); }

std::map<HWND, int> foreignKeyPresses;

// The foreign window's own procedure: counts key presses, handles the rest by default.
LRESULT CALLBACK ForeignProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN)
        ++foreignKeyPresses[window];
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

namespace UITestDriver
{

bool HasDisplay() { return true; }

QVUIManager* CreateManager() { return new QVUIManagerW32(); }

void ReleaseManager(QVUIManager* manager) { delete manager; }

void Key(QVHandle window, int virtualKey, bool down)
{
    LPARAM state = down ? 1 : static_cast<LPARAM>(0xC0000001u);
    PostMessageA(WindowOf(window), down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(virtualKey),
                 state);
}

void MouseMove(QVHandle window, int x, int y, unsigned short flags)
{
    WPARAM keys = 0;
    if (flags & QV_MOUSE_SHIFT)
        keys |= MK_SHIFT;
    if (flags & QV_MOUSE_CONTROL)
        keys |= MK_CONTROL;
    if (flags & QV_MOUSE_LEFT)
        keys |= MK_LBUTTON;
    if (flags & QV_MOUSE_MIDDLE)
        keys |= MK_MBUTTON;
    if (flags & QV_MOUSE_RIGHT)
        keys |= MK_RBUTTON;
    PostMessageA(WindowOf(window), WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
}

void Click(QVHandle window) { SendMessageA(WindowOf(window), BM_CLICK, 0, 0); }

void ResizeChild(QVHandle window, int width, int height)
{
    SetWindowPos(WindowOf(window), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Minimize(QVHandle window) { ShowWindow(WindowOf(window), SW_MINIMIZE); }

void Maximize(QVHandle window) { ShowWindow(WindowOf(window), SW_MAXIMIZE); }

void Restore(QVHandle window) { ShowWindow(WindowOf(window), SW_RESTORE); }

void ClientSize(QVHandle window, int& width, int& height)
{
    RECT client = {};
    GetClientRect(WindowOf(window), &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

void CloseFromWindowManager(QVHandle window)
{
    SendMessageA(WindowOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
}

QVHandle CreateForeignWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ForeignProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QVTestForeign";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("QVTestForeign", "foreign", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    foreignKeyPresses[window] = 0;
    return window;
}

int ForeignKeyPresses(QVHandle window) { return foreignKeyPresses[WindowOf(window)]; }

void DestroyForeignWindow(QVHandle window)
{
    DestroyWindow(WindowOf(window));
    foreignKeyPresses.erase(WindowOf(window));
}

void DestroyManagedWindow(QVHandle window) { DestroyWindow(WindowOf(window)); }

void DrainQueue()
{
    // Dispatched, not only removed: a window that wants painting would otherwise hand out its
    // paint message forever. Bounded for the same reason.
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i)
    {
        if (message.message != WM_QUIT)
            DispatchMessageA(&message);
    }
}

}  // namespace UITestDriver
