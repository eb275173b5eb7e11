// A browser stand-in for the key test on the test display: a top window with a page area and the
// plug-in window inside it, the package given on the command line played in it. The host keeps
// "host-keys.txt" beside the package with the number of key presses its top window got, and ends
// (destroying the instance, exit code 0) once a file "stop" appears there.
#include "tests/plugin/np/NPTestSupport.h"

#include <cstdio>

using namespace nptest;

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: npkeyhost PACKAGE.qva\n");
        return 2;
    }
    const fs::path package = fs::absolute(argv[1]);
    const fs::path folder = package.parent_path();
    if (!LoadPlugin() || PluginFuncs().newp == nullptr || !HaveDesktop())
    {
        std::fprintf(stderr, "npkeyhost: the plug-in or the display is missing\n");
        return 1;
    }
    Embedded embedded;
    if (NewInstance(embedded, {{"src", package.filename().string()}}) != NPERR_NO_ERROR ||
        GiveWindow(embedded) != NPERR_NO_ERROR)
        return 1;
    DeliverPackage(embedded, package.string());
    int reported = -1;
    while (!fs::exists(folder / "stop"))
    {
        Pump(50);
        const int presses = HostKeyPresses(embedded.page);
        if (presses != reported)
        {
            std::ofstream(folder / "host-keys.txt") << presses << "\n";
            reported = presses;
        }
    }
    Destroy(embedded);
    return 0;
}
