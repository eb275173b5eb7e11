#include "apps/qvaplayer/PlayerOptions.h"

#include "apps/qvaplayer/AppletElement.h"

const char* const PlayerUsage =
    "usage: qvaplayer [--plugin PATH] [--download-dir DIR] PAGE.html\n"
    "       qvaplayer [--plugin PATH] [--download-dir DIR] PACKAGE.qva [name=value ...]";

namespace
{
bool EndsWithQva(const std::string& path)
{
    return path.size() >= 4 && SameTextIgnoringCase(path.substr(path.size() - 4), ".qva");
}
}  // namespace

bool ParsePlayerOptions(int argc, char** argv, PlayerOptions& options, std::string& error)
{
    int at = 1;
    for (; at < argc; ++at)
    {
        const std::string word = argv[at];
        std::string* target = nullptr;
        if (word == "--plugin")
            target = &options.pluginPath;
        else if (word == "--download-dir")
            target = &options.downloadParent;
        else if (word == "--")
        {
            ++at;
            break;
        }
        else if (word.size() > 1 && word[0] == '-')
        {
            error = "unknown option " + word;
            return false;
        }
        else
            break;
        if (at + 1 >= argc || argv[at + 1][0] == '\0')
        {
            error = word + " needs a value";
            return false;
        }
        *target = argv[++at];
    }
    if (at >= argc)
    {
        error = "no page or package given";
        return false;
    }
    options.document = argv[at++];
    options.isPackage = EndsWithQva(options.document);
    for (; at < argc; ++at)
    {
        const std::string word = argv[at];
        const std::size_t equals = word.find('=');
        if (!options.isPackage)
        {
            error = "attributes (" + word + ") are given with a package only; a page has its own";
            return false;
        }
        if (equals == std::string::npos || equals == 0)
        {
            error = "attribute " + word + " is not of the form name=value";
            return false;
        }
        options.attributes.emplace_back(word.substr(0, equals), word.substr(equals + 1));
    }
    return true;
}
