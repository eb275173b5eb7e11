#pragma once

// The windows a browser gives a plug-in, made with the window system for the tests: a top
// window (the browser's), a page area inside it and the plug-in window inside that, so that the
// top window is the plug-in window's grandparent.
namespace nptest
{
struct TestPage
{
    void* top = nullptr;
    void* area = nullptr;
    void* plugin = nullptr;
};

// Whether windows can be made (Linux: a display is there).
bool HaveDesktop();
// A page whose plug-in window has the given size. All null when no window could be made.
TestPage MakePage(int pluginWidth, int pluginHeight);
// A further plug-in window in the page area, beside the first (a page that embeds two applets).
void* AddPluginWindow(TestPage& page, int x, int y, int width, int height);
// Destroys the page's windows (the plug-in's children with them).
void DestroyPage(TestPage& page);
// Serves the test thread's windows for about milliseconds, as a browser's loop does (on Windows
// a window that an applet thread makes inside the plug-in window waits for this thread).
void Pump(int milliseconds);
// Gives the page's top window a press and a release of the key (a letter 'A'..'Z'), as input
// from the window system arrives there.
void SendKey(const TestPage& page, int key);
// How many key presses the top window's own handling got.
int HostKeyPresses(const TestPage& page);
// The threads of this process.
int ThreadCount();
}  // namespace nptest
