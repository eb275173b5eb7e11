#pragma once

#include "apps/qvaplayer/AppletElement.h"
#include "apps/qvaplayer/AppletInstance.h"
#include "apps/qvaplayer/PlayerOptions.h"
#include "apps/qvaplayer/PlayerWindow.h"
#include "apps/qvaplayer/PluginExports.h"

#include <memory>
#include <string>
#include <vector>

// The player: plays the applets of a page (or one package) through the plug-in library as a
// browser would, in one window, until the window is closed.
class Player
{
public:
    // An applet of the page with its package file (of bytes bytes) and its place in the page.
    struct Applet
    {
        AppletElement element;
        std::string package;
        unsigned long long bytes = 0;
        int x = 0, y = 0, width = 0, height = 0;
    };

    explicit Player(const PlayerOptions& options);
    ~Player();

    // Plays; returns the exit code: 0 after the window was closed, 1 after a failure (told on
    // standard error).
    int Run();

private:
    // The applets of the page or package, laid out in a bounded page, their copies within the
    // download budget (the others left out, with a word); false after telling why none plays.
    bool FindApplets();
    // Loads and initialises the plug-in library; false after telling why not.
    bool StartPlugin();
    // Makes the window, then creates, places and feeds every instance; false after a failure.
    bool StartApplets();
    // Destroys the instances and shuts the plug-in down (it stays loaded: a thread of it may
    // still be ending).
    void StopPlugin();

    PlayerOptions options;
    std::vector<Applet> applets;
    PlayerWindow window;
    QVHandle library;
    PluginExports exports;
    NPNetscapeFuncs browserFuncs;
    NPPluginFuncs pluginFuncs;
    bool pluginStarted;
    std::vector<std::unique_ptr<AppletInstance>> instances;
};
