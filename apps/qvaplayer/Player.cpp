#include "apps/qvaplayer/Player.h"

#include "apps/qvaplayer/AttributeNames.h"
#include "apps/qvaplayer/BrowserServices.h"
#include "apps/qvaplayer/DownloadFolder.h"
#include "apps/qvaplayer/LocalPaths.h"
#include "apps/qvaplayer/PageReader.h"
#include "apps/qvaplayer/PlayerLog.h"
#include "platform/Directory.h"
#include "platform/DynLibrary.h"
#include "platform/ModulePlaces.h"
#include "platform/ProgramDirectory.h"

#include <algorithm>
#include <cstdio>

namespace
{
// Room around and between the applets of the page, and the size of an applet that gives none.
const int PageMargin = 10;
const int DefaultWidth = 320;
const int DefaultHeight = 200;
// The largest page read, far above any real page.
const long MaxPageBytes = 16 * 1024 * 1024;
// The widest page: X windows and the plug-in's clip rectangles place things at 16-bit
// coordinates. The applets of a page sit in one row; those past this width are not played.
const int MaxPageWidth = 32767;
// What the copies of one page's packages may take on disk together, each counted in whole blocks
// and its folder one block more; the applets whose copies would pass it are not played. (The
// plug-in bounds what it unpacks from them on its own.)
const unsigned long long MaxDownloadBytes = 1ull << 30;
const unsigned long long BlockBytes = 4096;

// Tells that the applets from first to last of the page are not played, and why.
void SayNotPlayed(std::size_t first, std::size_t last, const char* why)
{
    if (first == last)
        PlayerComplain("applet %d is not played: %s", static_cast<int>(first), why);
    else
        PlayerComplain("applets %d to %d are not played: %s", static_cast<int>(first),
                       static_cast<int>(last), why);
}

// Where the plug-in may lie, in the order tried: beside the program (the build's layout, and
// Windows installs), in the modules' directory of the program's installation (Linux installs put
// it in lib/qv), in the installed modules' directory.
std::vector<std::string> PluginPlaces()
{
    std::vector<std::string> places = {QVProgramDirectory(), QVModulesBesideProgram()};
    std::vector<char> directory(4096);
    const int length = QVGetSystemDir(directory.data(), static_cast<int>(directory.size()));
    if (length > 0 && length < static_cast<int>(directory.size()))
        places.emplace_back(directory.data(), static_cast<std::size_t>(length));
    places.erase(std::remove(places.begin(), places.end(), std::string()), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    return places;
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 &&
           text.size() + got <= static_cast<std::size_t>(MaxPageBytes))
        text.append(buffer, got);
    const bool complete = std::ferror(file) == 0 && got == 0;
    std::fclose(file);
    return complete;
}
}  // namespace

Player::Player(const PlayerOptions& options)
    : options(options), library(nullptr), browserFuncs(MakeBrowserFunctions()), pluginFuncs{},
      pluginStarted(false)
{
}

Player::~Player() { StopPlugin(); }

bool Player::FindApplets()
{
    // The plug-in changes the process's working directory when it unpacks a package: every path
    // is made absolute before the first one is handed over.
    if (!options.downloadParent.empty())
        options.downloadParent = AbsolutePath(options.downloadParent);
    const std::string& document = options.document;
    std::vector<AppletElement> elements;
    std::string pageDirectory;
    if (options.isPackage)
    {
        // A package alone plays as a page holding one <embed> of it.
        AppletElement element;
        element.attributes.emplace_back("type", AppletMimeType);
        element.attributes.emplace_back("src", document);
        AttributeNames names;
        names.Insert("type");
        names.Insert("src");
        for (const auto& attribute : options.attributes)
        {
            if (names.Insert(attribute.first))
                element.attributes.push_back(attribute);
        }
        elements.push_back(element);
    }
    else
    {
        std::string page;
        unsigned long long size = 0;
        if (!IsReadableFile(document, size) || !ReadWholeFile(document, page))
        {
            PlayerComplain("cannot read the page %s", document.c_str());
            return false;
        }
        elements = ReadAppletElements(page);
        if (elements.empty())
        {
            PlayerComplain("no applet in %s: no <embed> or <object> of type %s or with a .qva "
                           "source",
                           document.c_str(), AppletMimeType);
            return false;
        }
        pageDirectory = DirectoryOf(AbsolutePath(document));
    }

    int x = PageMargin;
    unsigned long long downloads = 0;
    for (std::size_t i = 0; i < elements.size(); ++i)
    {
        const int number = static_cast<int>(i + 1);
        if (elements[i].attributes.size() > AppletInstance::MaxAttributes)
        {
            // Cut short, the list would lose the applet's later attributes without a word.
            PlayerComplain("applet %d has %d attributes; a plug-in is given %d at most", number,
                           static_cast<int>(elements[i].attributes.size()),
                           static_cast<int>(AppletInstance::MaxAttributes));
            return false;
        }
        // One after another in a row, as inline elements of a wide page.
        Applet applet;
        applet.element = elements[i];
        applet.width = elements[i].Size("width", DefaultWidth);
        applet.height = elements[i].Size("height", DefaultHeight);
        applet.x = x;
        applet.y = PageMargin;
        if (applet.width + PageMargin > MaxPageWidth - x)
        {
            SayNotPlayed(i + 1, elements.size(), "the page is 32767 pixels wide at most");
            break;
        }
        std::string error;
        if (options.isPackage)
            applet.package = AbsolutePath(document);
        else if (!ResolveSource(elements[i].Source(), pageDirectory, applet.package, error))
        {
            PlayerComplain("applet %d: %s", number, error.c_str());
            return false;
        }
        if (!IsReadableFile(applet.package, applet.bytes))
        {
            PlayerComplain("applet %d: package not found: %s", number, applet.package.c_str());
            return false;
        }
        // The copy in whole blocks (one more when it fills its last), and one for its folder.
        const unsigned long long blocks = applet.bytes / BlockBytes + 2;
        if (blocks > (MaxDownloadBytes - downloads) / BlockBytes)
        {
            SayNotPlayed(i + 1, elements.size(), "the page's downloads would pass 1 GiB");
            break;
        }
        downloads += blocks * BlockBytes;
        x += applet.width + PageMargin;
        applets.push_back(applet);
    }
    return !applets.empty();
}

bool Player::StartPlugin()
{
    std::string path = options.pluginPath;
    if (path.empty())
    {
        std::string looked;
        for (const std::string& place : PluginPlaces())
        {
            path = JoinPath(place, PluginFileName());
            unsigned long long size = 0;
            if (IsReadableFile(path, size))
                break;
            looked += "\n  " + place;
            path.clear();
        }
        if (path.empty())
        {
            PlayerComplain("cannot find the plug-in library %s (or name it with --plugin). "
                           "Looked for it in:%s",
                           PluginFileName(), looked.c_str());
            return false;
        }
    }
    library = QVOpenLibrary(path.c_str());
    if (library == nullptr)
    {
        PlayerComplain("cannot load the plug-in library %s: %s", path.c_str(),
                       QVLastLibraryError().c_str());
        return false;
    }
    std::string missing;
    if (!FindPluginExports(library, exports, missing))
    {
        PlayerComplain("%s is not a browser plug-in: it does not export %s", path.c_str(),
                       missing.c_str());
        return false;
    }
    pluginFuncs = NPPluginFuncs{};
    pluginFuncs.size = sizeof(NPPluginFuncs);
    const NPError result = InitializePlugin(exports, &browserFuncs, &pluginFuncs);
    if (result != NPERR_NO_ERROR)
    {
        PlayerComplain("the plug-in refused to initialise (NPError %d)", result);
        return false;
    }
    pluginStarted = true;
    const struct
    {
        bool present;
        const char* name;
    } needed[] = {{pluginFuncs.newp != nullptr, "new"},
                  {pluginFuncs.destroy != nullptr, "destroy"},
                  {pluginFuncs.setwindow != nullptr, "set-window"},
                  {pluginFuncs.newstream != nullptr, "new-stream"},
                  {pluginFuncs.destroystream != nullptr, "destroy-stream"},
                  {pluginFuncs.asfile != nullptr, "stream-as-file"}};
    for (const auto& entry : needed)
    {
        if (!entry.present)
        {
            PlayerComplain("the plug-in gave no %s entry", entry.name);
            return false;
        }
    }
    return true;
}

bool Player::StartApplets()
{
    int pageWidth = PageMargin, pageHeight = 0;
    for (const Applet& applet : applets)
    {
        pageWidth = applet.x + applet.width + PageMargin;
        pageHeight = std::max(pageHeight, applet.y + applet.height + PageMargin);
    }
    std::string error;
    if (!window.Open("qvaplayer - " + FileNameOf(options.document), pageWidth, pageHeight, error))
    {
        PlayerComplain("%s", error.c_str());
        return false;
    }
    SetBrowserWindows(window.DisplayHandle(), window.TopWindowHandle());
    std::vector<void*> pluginWindows;
    for (const Applet& applet : applets)
    {
        pluginWindows.push_back(
            window.AddPluginWindow(applet.x, applet.y, applet.width, applet.height));
        if (pluginWindows.back() == nullptr)
        {
            PlayerComplain("cannot create the plug-in window");
            return false;
        }
    }
    window.Show();

    for (std::size_t i = 0; i < applets.size(); ++i)
    {
        const Applet& applet = applets[i];
        const int number = static_cast<int>(i + 1);
        instances.emplace_back(new AppletInstance(pluginFuncs, applet.element));
        AppletInstance& instance = *instances.back();
        NPError result = instance.Create();
        if (result != NPERR_NO_ERROR)
        {
            PlayerComplain("the plug-in refused applet %d (NPError %d)", number, result);
            return false;
        }
        result =
            instance.SetWindow(pluginWindows[i], applet.x, applet.y, applet.width, applet.height);
        if (result != NPERR_NO_ERROR)
        {
            PlayerComplain("the plug-in refused the window of applet %d (NPError %d)", number,
                           result);
            return false;
        }

        // The "download": a copy in a folder of the applet's own, handed over as a file.
        const std::string folder = CreateDownloadFolder(options.downloadParent);
        const std::string name = FileNameOf(applet.package);
        if (folder.empty())
        {
            // The player makes a folder of its own in it, not the --download-dir itself.
            PlayerComplain("applet %d: cannot make a download folder in %s (it must exist and "
                           "be writable)",
                           number,
                           options.downloadParent.empty() ? "the temporary folder"
                                                          : options.downloadParent.c_str());
            return false;
        }
        if (!CopyIntoFolder(applet.package, folder, name, applet.bytes))
        {
            PlayerComplain("applet %d: cannot copy %s into a download folder", number,
                           applet.package.c_str());
            return false;
        }
        const std::string copy = JoinPath(folder, name);
        unsigned long long size = 0;
        IsReadableFile(copy, size);
        PlayerSay("applet %d downloaded to \"%s\"", number, copy.c_str());
        result = instance.DeliverPackage(copy, FileUrlOf(AbsolutePath(applet.package)), size);
        if (result != NPERR_NO_ERROR)
        {
            PlayerComplain("the plug-in refused the package of applet %d (NPError %d)", number,
                           result);
            return false;
        }
    }
    return true;
}

void Player::StopPlugin()
{
    for (auto& instance : instances)
        instance->Destroy();
    instances.clear();
    if (pluginStarted)
    {
        pluginStarted = false;
        ShutdownPlugin(exports);
    }
}

int Player::Run()
{
    if (!FindApplets() || !StartPlugin() || !StartApplets())
    {
        StopPlugin();
        return 1;
    }
    window.Run([](int key) { PlayerSay("key %d", key); });
    PlayerSay("window closed");
    StopPlugin();
    return 0;
}
