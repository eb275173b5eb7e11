// Program entry on the web. The framework main takes the command line as one text, as Windows
// hands it to a program: the arguments after the program name, joined by single blanks. There is
// no display connection: the instance handle is null, and windows are elements of the page.
#include "apps/framework/FrameworkMain.h"

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
    return QVFrameworkMain(nullptr, commandLine.c_str());
}
