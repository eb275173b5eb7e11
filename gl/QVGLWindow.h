#pragma once

#include "platform/QVHandle.h"

// A top-level window of a renderer's own, titled "Window Sample", made for OpenGL drawing;
// optionally full screen, which switches the display mode to the window's size first.
//
// Windows: the class "WinSample" with the host's procedure (or the default procedure when it
// gives none), an overlapped window whose client area is the requested size, or a topmost
// pop-up window after ChangeDisplaySettingsA. X11: a window with a double-buffered GLX visual on
// the program's display connection, or a borderless window above the others after an XRandR
// mode switch. Either way a window that cannot go full screen stays an ordinary window.
//
// The window outlives this object (it stays until the process ends), as a window of the host's
// would; only a display mode that was switched is put back (see RestoreDisplayMode).
class QVGLWindow
{
public:
    struct Request
    {
        QVHandle instance;         // Windows: HINSTANCE of the class; X11: the Display* (null: a
                                   // connection of the window's own)
        QVHandle windowProcedure;  // Windows: the class's procedure (null: the default one)
        int x;                     // top-left corner on the screen, pixels
        int y;
        int width;  // client size, pixels
        int height;
        int colourBits;  // Windows: bits per pixel of a full-screen mode; X11: unused
        int depthBits;   // X11: depth and stencil bits the visual should have
        int stencilBits;
        bool fullScreen;  // switch the display mode to width x height first
    };

    QVGLWindow();
    // RestoreDisplayMode(); closes a connection of the window's own (which ends its window).
    ~QVGLWindow();
    QVGLWindow(const QVGLWindow&) = delete;
    QVGLWindow& operator=(const QVGLWindow&) = delete;

    // Makes the window, not yet shown. False when the window cannot be made; a mode switched
    // for it is then put back.
    bool Create(const Request& request);
    // The window (HWND; X window id), null before Create.
    QVHandle GetWindow() const { return window; }
    // Whether Create switched the display mode (and made the full-screen kind of window).
    bool IsFullScreen() const { return fullScreen; }

    // Shows the window and returns once the window system has put it on the screen.
    void Show();

    // Takes one pending message of rendererWindow, the window the renderer draws into. True when
    // that window is being closed or is gone: on Windows a WM_CLOSE or WM_DESTROY taken from its
    // queue, or the window no longer existing; on X11 the window manager's delete request or the
    // window's destruction (X11 only watches the window made here). Other messages go to the
    // default handling (Windows) or are dropped (X11).
    bool PumpMessage(QVHandle rendererWindow);

    // Puts back the display mode that Create switched (X11: right away, and in any case when the
    // program ends). On Windows a full-screen change lasts only as long as the process: nothing
    // to do.
    void RestoreDisplayMode();

private:
    QVHandle window;
    QVHandle connection;  // X11: the Display* the window lives on
    bool ownConnection;   // X11: opened here (no instance given)
    bool fullScreen;      // Create switched the display mode
    bool modeToRestore;   // ... and it has not been put back yet
};
