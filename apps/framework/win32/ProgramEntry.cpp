// Program entry on Windows: the framework main gets the instance handle and the command line
// (without the program name) exactly as Windows passes them.
#include "apps/framework/FrameworkMain.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return QVFrameworkMain(instance, commandLine);
}
