// qvaplayer: plays the applets of a web page, or one applet package, through the browser
// plug-in library, as a browser would.
#include "apps/qvaplayer/Player.h"
#include "apps/qvaplayer/PlayerLog.h"
#include "apps/qvaplayer/PlayerOptions.h"
#include "apps/qvaplayer/PlayerWindow.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // Before anything else: the plug-in's threads share the window system with this one.
    PlayerWindow::PrepareThreads();
    PlayerOptions options;
    std::string error;
    if (!ParsePlayerOptions(argc, argv, options, error))
    {
        PlayerComplain("%s", error.c_str());
        std::fprintf(stderr, "%s\n", PlayerUsage);
        return 2;
    }
    Player player(options);
    return player.Run();
}
