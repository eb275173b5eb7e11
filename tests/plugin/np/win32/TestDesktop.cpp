#include "tests/plugin/np/TestDesktop.h"

#include <windows.h>

#include <tlhelp32.h>

#include <map>

namespace nptest
{
namespace
{
std::map<HWND, int>& Presses()
{
    static std::map<HWND, int> presses;
    return presses;
}

// The browser's own handling of its top window: it counts the key presses it gets.
LRESULT CALLBACK TopProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN)
        ++Presses()[window];
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    WNDCLASSA top = {};
    top.lpfnWndProc = TopProcedure;
    top.hInstance = GetModuleHandleA(nullptr);
    top.lpszClassName = "QVTestBrowserTop";
    top.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&top);
    WNDCLASSA area = top;
    area.lpfnWndProc = DefWindowProcA;
    area.lpszClassName = "QVTestBrowserArea";
    RegisterClassA(&area);
}
}  // namespace

bool HaveDesktop() { return true; }

TestPage MakePage(int pluginWidth, int pluginHeight)
{
    RegisterClasses();
    TestPage page;
    HWND top = CreateWindowExA(0, "QVTestBrowserTop", "npqvarunner test page",
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 50, 50,
                               pluginWidth + 60, pluginHeight + 120, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    HWND area = CreateWindowExA(0, "QVTestBrowserArea", "", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                0, 40, pluginWidth + 40, pluginHeight + 40, top, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND plugin = CreateWindowExA(0, "QVTestBrowserArea", "",
                                  WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 20, 20, pluginWidth,
                                  pluginHeight, area, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (top == nullptr || area == nullptr || plugin == nullptr)
    {
        if (top != nullptr)
            DestroyWindow(top);
        return page;
    }
    page.top = top;
    page.area = area;
    page.plugin = plugin;
    return page;
}

void* AddPluginWindow(TestPage& page, int x, int y, int width, int height)
{
    return CreateWindowExA(0, "QVTestBrowserArea", "", WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, x,
                           y, width, height, static_cast<HWND>(page.area), nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void DestroyPage(TestPage& page)
{
    if (page.top != nullptr)
    {
        DestroyWindow(static_cast<HWND>(page.top));
        Presses().erase(static_cast<HWND>(page.top));
    }
    page = TestPage();
}

void Pump(int milliseconds)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

void SendKey(const TestPage& page, int key)
{
    HWND top = static_cast<HWND>(page.top);
    PostMessageA(top, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
    PostMessageA(top, WM_KEYUP, static_cast<WPARAM>(key), 0xC0000001);
    Pump(20);
}

int HostKeyPresses(const TestPage& page)
{
    Pump(0);
    return Presses()[static_cast<HWND>(page.top)];
}

int ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    {
        if (entry.th32OwnerProcessID == self)
            ++count;
    }
    CloseHandle(snapshot);
    return count;
}
}  // namespace nptest
