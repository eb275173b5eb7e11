// Program entry on Linux. The framework main takes the command line as one text, as Windows hands
// it to a program: the arguments after the program name, joined by single blanks.
//
// The instance handle is the program's connection to the X display named by DISPLAY (a
// Display*), or null when there is no display. Renderers get it in their setup record next to
// the window id of the UI manager's window, and make their GLX context on it: window ids are
// valid on every connection to the same display. The connection is closed when the program body
// returns.
#include "apps/framework/FrameworkMain.h"

#include <X11/Xlib.h>

#include <string>

int main(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 1; i < argc; ++i)
    {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    static Display* display = XOpenDisplay(nullptr);
    return QVFrameworkMain(display, commandLine.c_str());
}
