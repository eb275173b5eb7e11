#pragma once

#include <functional>
#include <memory>
#include <string>

// The player's window: a top window whose client area is the page, a page window filling it,
// and one plug-in window per applet inside the page (so each plug-in window's grandparent is the
// top window, as in a browser). The windows belong to the thread that opens them, which runs the
// loop; the plug-in's applet windows (children of the plug-in windows) are made and served on the
// plug-in's own threads.
//
// Windows: window classes of the player, the loop of GetMessageA. Linux: a connection to the X
// display of its own (XInitThreads first: the plug-in's threads call Xlib in this process too),
// the top window with WM_DELETE_WINDOW, key presses selected on it.
class PlayerWindow
{
public:
    // Readies the window system for a process whose libraries use it from several threads. Call
    // it before anything else in the program (on Linux before any other Xlib call).
    static void PrepareThreads();

    PlayerWindow();
    // Destroys the windows and closes the connection.
    ~PlayerWindow();
    PlayerWindow(const PlayerWindow&) = delete;
    PlayerWindow& operator=(const PlayerWindow&) = delete;

    // Makes the top window titled title with a page of pageWidth x pageHeight (hidden until
    // Show). False, with the reason in error, without a display or window.
    bool Open(const std::string& title, int pageWidth, int pageHeight, std::string& error);

    // A plug-in window at (x, y) of the page, width x height: its native handle (HWND or X
    // window id), known to the display server when this returns; null on failure.
    void* AddPluginWindow(int x, int y, int width, int height);

    // Shows the windows and waits (a few seconds at most) until the top window is on the screen.
    void Show();

    // Runs the loop until the top window is closed. Every key pressed in the top window (and not
    // taken by a window inside it) is reported to onKey with its key code (Windows virtual-key
    // codes; on Linux letters and digits give the same codes, other keys their keysym).
    void Run(const std::function<void(int)>& onKey);

    // What the browser's get-value hands out: the display connection (a Display* on Linux, null
    // on Windows) and the top window (HWND or X window id).
    void* DisplayHandle() const;
    void* TopWindowHandle() const;

private:
    struct Native;
    std::unique_ptr<Native> native;
};
