#include "plugin/web/QVWebAppletStart.h"

#include "loaders/QVProperties.h"
#include "modules/LoadModuleAs.h"
#include "modules/ModuleLoadFailure.h"
#include "modules/RunTimePath.h"
#include "plugin/QVApplet.h"
#include "plugin/QVAppletPackage.h"
#include "plugin/web/QVWebAppletHost.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIWindow.h"

#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

// Tells the page script how the applet is doing: "running" before Init, "ended" after Run,
// "failed" (with the reason, and the code of the page's failure panel) when it could not start.
// The body is JavaScript, which clang-format would take for C++.
// clang-format off
EM_JS(void, qv_web_applet_state, (int element, const char* state, const char* message,
                                  const char* code), {
    if (typeof Module.qvAppletState == 'function')
        Module.qvAppletState(element, UTF8ToString(state), UTF8ToString(message),
                             UTF8ToString(code));
});

// What the page's applets may still unpack, in bytes (the page keeps one budget for all of them,
// their files being in the tab's memory); -1 when the bundle runs without the page script, -2
// while a bundle in a worker waits for its turn (the page answers one applet at a time, until
// it has charged what that one unpacked).
EM_JS(double, qv_web_unpack_budget, (int element), {
    if (typeof Module.qvUnpackBudget != 'function')
        return -1;
    return Module.qvUnpackBudget(element);
});

// Charges what the applet unpacked to the page's budget.
EM_JS(void, qv_web_unpacked, (int element, double bytes), {
    if (typeof Module.qvUnpacked == 'function')
        Module.qvUnpacked(element, bytes);
});
// clang-format on

namespace
{
// Sizes beyond this are no applet area of a page.
const long MaximumSide = 16384;

bool ParseNumber(const char* text, long low, long high, int& value)
{
    char* end = nullptr;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || number < low || number > high)
        return false;
    value = static_cast<int>(number);
    return true;
}

int Fail(int element, const char* code, const std::string& message)
{
    std::fprintf(stderr, "qvapplet: %s\n", message.c_str());
    qv_web_applet_state(element, "failed", message.c_str(), code);
    return 1;
}

// Why a package gave no applet, as the page's failure code: an archive that could not be read
// (or lost entries), or whose configuration is missing or unreadable, is damaged; one whose
// configuration names no module, or one this bundle does not hold, has no applet for the web.
const char* LoadFailureCode(const QVAppletPackage& package)
{
    const QVUnpackReport& report = package.GetReport();
    if (report.entries == 0 || report.skipped > 0)
        return "QV-DAMAGED";
    const bool configurationRead = package.GetModuleName().GetLength() > 0 ||
                                   package.GetFailure().find("names no") != std::string::npos;
    return configurationRead ? "QV-NO-WEB-APPLET" : "QV-DAMAGED";
}

int runningElement = 0;

// A module the applet asked for is not there: said in the element's state message, the applet
// still running (it may go on without the module).
void SayModuleNotLoaded(const char* fileName)
{
    const std::string message = std::string("the module ") + fileName +
                                " could not be loaded: " + DescribeLibraryFailure(fileName);
    std::fprintf(stderr, "qvapplet: %s\n", message.c_str());
    qv_web_applet_state(runningElement, "running", message.c_str(), "");
}

// Memory the page cannot give: the page shows its panel before the bundle stops.
void OutOfMemory()
{
    qv_web_applet_state(runningElement, "failed", "out of memory", "QV-MEMORY");
    std::abort();
}
}  // namespace

bool ParseWebAppletStart(int argc, const char* const* argv, QVWebAppletStart& start,
                         std::string& error)
{
    if (argc < 5)
    {
        error = "expected <package> <element> <width> <height> [<name> <value>]...";
        return false;
    }
    start = QVWebAppletStart();
    start.packagePath = argv[1];
    if (start.packagePath.empty())
    {
        error = "empty package path";
        return false;
    }
    if (!ParseNumber(argv[2], 1, 0x7FFFFFFF, start.element))
    {
        error = std::string("bad element number '") + argv[2] + "'";
        return false;
    }
    if (!ParseNumber(argv[3], 0, MaximumSide, start.width) ||
        !ParseNumber(argv[4], 0, MaximumSide, start.height))
    {
        error = std::string("bad size '") + argv[3] + "x" + argv[4] + "'";
        return false;
    }
    if ((argc - 5) % 2 != 0)
    {
        error = std::string("attribute '") + argv[argc - 1] + "' has no value";
        return false;
    }
    for (int i = 5; i + 1 < argc; i += 2)
        start.attributes.emplace_back(argv[i], argv[i + 1]);
    return true;
}

int RunWebApplet(const QVWebAppletStart& start)
{
    // Attributes first, in the page's order; the package layer adds "@temp_path" after them.
    runningElement = start.element;
    std::set_new_handler(OutOfMemory);
    static QVProperties parameters(0);
    for (const auto& attribute : start.attributes)
        parameters.Set(QVString(attribute.first.c_str()), QVString(attribute.second.c_str()));

    static QVAppletPackage package;
    // Asked and charged in one turn of the page's: no other applet unpacks between.
    double budget = -2;
    while ((budget = qv_web_unpack_budget(start.element)) == -2)
        emscripten_sleep(1);
    if (budget >= 0 && budget < 1)
        return Fail(start.element, "QV-UNPACK-LIMIT",
                    "the page's applets have unpacked all they may together");
    if (budget >= 0 && budget < static_cast<double>(QVPackageExtractor::DefaultByteLimit))
        package.SetByteLimit(static_cast<std::uint64_t>(budget));
    if (!package.Unpack(QVString(start.packagePath.c_str()), parameters))
        return Fail(start.element, "QV-FAILED",
                    "the package " + start.packagePath + " has no folder to unpack in");
    qv_web_unpacked(start.element, static_cast<double>(package.GetReport().charged));
    QVApplet* applet = package.LoadApplet(parameters);
    if (applet == nullptr)
        return Fail(start.element, LoadFailureCode(package), package.GetFailure());

    const char* uiManagerFile = GetUIManagerFileName();
    QVUIManager* manager = LoadModuleAs<QVUIManager>(GetModManager(), uiManagerFile);
    if (manager == nullptr)
        return Fail(start.element, "QV-FAILED", std::string("no UI manager ") + uiManagerFile);
    SetUIManager(manager);

    // The item standing for the page's host element, as the plug-in's host item stands for the
    // browser's plug-in window: its native handle is the element's number.
    static QVUIWindow hostItem;
    hostItem.SetManager(manager);
    hostItem.StoreWindow(reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(start.element)));
    hostItem.StoreSize(start.width, start.height);

    static QVUIWindow window;
    window.SetManager(manager);
    window.SetWidth(start.width);
    window.SetHeight(start.height);
    manager->ApplyGeometry(&window);
    QVUIItem::SetParent(window, hostItem);
    window.SetBackgroundColour(0xffffff);
    if (!window.Create())
        return Fail(start.element, "QV-FAILED", "the UI manager made no window in the page");

    static QVWebAppletHost host(start.element);
    qv_web_applet_state(start.element, "running", "", "");
    SetModuleLoadFailureHandler(SayModuleNotLoaded);
    applet->Init(&window, &host, &parameters);
    applet->Run();
    // Run ends when the page takes the applet away; before that, its loop was missing or ended
    // early, and its controls would stay on the page without anyone serving them.
    if (!window.IsClosed())
    {
        const char* message = "the applet's Run returned while its window was still open: Run "
                              "should call its window's UI manager's ProcessMessages until it "
                              "returns false";
        std::fprintf(stderr, "qvapplet: %s\n", message);
        qv_web_applet_state(start.element, "ended", message, "");
        return 0;
    }
    qv_web_applet_state(start.element, "ended", "", "");
    return 0;
}
