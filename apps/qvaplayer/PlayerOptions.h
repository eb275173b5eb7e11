#pragma once

#include <string>
#include <utility>
#include <vector>

// The player's command line:
//   qvaplayer [--plugin PATH] [--download-dir DIR] PAGE.html
//   qvaplayer [--plugin PATH] [--download-dir DIR] PACKAGE.qva [name=value ...]
struct PlayerOptions
{
    std::string pluginPath;      // the plug-in library; empty: the one beside the program
    std::string downloadParent;  // where the download folders go; empty: the system's temp folder
    std::string document;        // the page or the package
    bool isPackage = false;      // a ".qva" file is played as a page with one applet
    std::vector<std::pair<std::string, std::string>> attributes;  // name=value words, in order
};

// The usage text, one line per form.
extern const char* const PlayerUsage;

// Reads the command line (argv[0] is the program). False, with the reason in error, for a
// command line that names no document, an option without its value, an unknown option, or
// name=value words after a page (or words without '=' after a package).
bool ParsePlayerOptions(int argc, char** argv, PlayerOptions& options, std::string& error);
