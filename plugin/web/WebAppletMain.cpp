// The main of an applet bundle: started by the page script (qvapplet.js) with the package's
// path, the host element's number and size, and the element's attributes.
#include "plugin/web/QVWebAppletStart.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    QVWebAppletStart start;
    std::string error;
    if (!ParseWebAppletStart(argc, argv, start, error))
    {
        std::fprintf(stderr, "qvapplet: %s\n", error.c_str());
        return 2;
    }
    return RunWebApplet(start);
}
