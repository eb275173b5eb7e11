// Program entry on Linux. The framework main takes the command line as one text, as Windows hands
// it to a program: the arguments after the program name, joined by single blanks. The instance
// handle is null; nothing on Linux needs a program instance.
#include "apps/framework/FrameworkMain.h"

#include <string>

int main(int argc, char** argv)
{
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            commandLine += ' ';
        commandLine += argv[i];
    }
    return QVFrameworkMain(nullptr, commandLine.c_str());
}
