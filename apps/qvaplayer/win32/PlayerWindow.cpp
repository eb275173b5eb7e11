#include "apps/qvaplayer/PlayerWindow.h"

#include <windows.h>

#include <vector>

namespace
{
const char* const TopClass = "QVAPlayerTop";
const char* const PageClass = "QVAPlayerPage";
const char* const PluginClass = "QVAPlayerPlugin";

// The page's background, and what a plug-in window shows until its applet draws.
const COLORREF PageColour = RGB(208, 216, 232);
const COLORREF PluginColour = RGB(64, 64, 64);

// The loop's key listener, for the top window's procedure (one player window per process).
const std::function<void(int)>* keyListener = nullptr;

LRESULT CALLBACK TopProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_KEYDOWN:
        if (keyListener != nullptr)
            (*keyListener)(static_cast<int>(wParam & 0xFFFF));
        return 0;
    case WM_CLOSE:
        // The plug-in's instances go first, while their windows still exist: the loop ends
        // here and the windows are destroyed after the plug-in let go of them.
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

bool RegisterClasses(HINSTANCE instance, HBRUSH pageBrush, HBRUSH pluginBrush)
{
    WNDCLASSA top = {};
    top.lpfnWndProc = TopProcedure;
    top.hInstance = instance;
    top.hCursor = LoadCursor(nullptr, IDC_ARROW);
    top.hbrBackground = pageBrush;
    top.lpszClassName = TopClass;
    WNDCLASSA page = top;
    page.lpfnWndProc = DefWindowProcA;
    page.lpszClassName = PageClass;
    WNDCLASSA plugin = page;
    plugin.hbrBackground = pluginBrush;
    plugin.lpszClassName = PluginClass;
    for (const WNDCLASSA* windowClass : {&top, &page, &plugin})
    {
        if (!RegisterClassA(windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    return true;
}
}  // namespace

struct PlayerWindow::Native
{
    HWND top = nullptr;
    HWND page = nullptr;
    HBRUSH pageBrush = nullptr;
    HBRUSH pluginBrush = nullptr;
    std::vector<HWND> plugins;
};

void PlayerWindow::PrepareThreads()
{
    // Nothing to prepare: every window is served by the thread that made it.
}

PlayerWindow::PlayerWindow() : native(new Native) {}

PlayerWindow::~PlayerWindow()
{
    if (native->top != nullptr)
        DestroyWindow(native->top);
    if (native->pageBrush != nullptr)
        DeleteObject(native->pageBrush);
    if (native->pluginBrush != nullptr)
        DeleteObject(native->pluginBrush);
}

bool PlayerWindow::Open(const std::string& title, int pageWidth, int pageHeight, std::string& error)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    native->pageBrush = CreateSolidBrush(PageColour);
    native->pluginBrush = CreateSolidBrush(PluginColour);
    if (!RegisterClasses(instance, native->pageBrush, native->pluginBrush))
    {
        error = "cannot register the window classes";
        return false;
    }
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT outer = {0, 0, pageWidth, pageHeight};
    AdjustWindowRect(&outer, style, FALSE);
    native->top =
        CreateWindowExA(0, TopClass, title.c_str(), style, 100, 100, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    if (native->top == nullptr)
    {
        error = "cannot create the window";
        return false;
    }
    native->page =
        CreateWindowExA(0, PageClass, "qvaplayer page", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                        0, pageWidth, pageHeight, native->top, nullptr, instance, nullptr);
    if (native->page == nullptr)
    {
        error = "cannot create the page window";
        return false;
    }
    return true;
}

void* PlayerWindow::AddPluginWindow(int x, int y, int width, int height)
{
    if (native->page == nullptr)
        return nullptr;
    const std::string name = "qvaplayer plug-in " + std::to_string(native->plugins.size() + 1);
    HWND window =
        CreateWindowExA(0, PluginClass, name.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                        width, height, native->page, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window != nullptr)
        native->plugins.push_back(window);
    return window;
}

void PlayerWindow::Show()
{
    ShowWindow(native->top, SW_SHOW);
    UpdateWindow(native->top);
    SetForegroundWindow(native->top);
    SetFocus(native->top);
}

void PlayerWindow::Run(const std::function<void(int)>& onKey)
{
    keyListener = &onKey;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    keyListener = nullptr;
}

void* PlayerWindow::DisplayHandle() const { return nullptr; }

void* PlayerWindow::TopWindowHandle() const { return native->top; }
