#include "apps/appletcheck/AppletCheckApp.h"

#include "apps/framework/StartFailure.h"
#include "apps/framework/UIManagerStart.h"
#include "platform/Directory.h"
#include "platform/ProgramPath.h"
#include "plugin/AppletModule.h"

#include <cstdio>
#include <string>

// The process-wide application, constructed before the program entry runs.
AppletCheckApp appletCheckApplication;

AppletCheckApp::AppletCheckApp() : applet(nullptr), parameters(0), uiManager(nullptr) {}

AppletCheckApp::~AppletCheckApp() { window.Destroy(); }

int AppletCheckApp::RunArgs(QVArray<QVString>& words)
{
    // Without a UI manager, or without a window, there is nowhere to show a message: the failed
    // start is told on standard error.
    uiManager = LoadUIManagerOrReport("appletcheck");
    if (uiManager == nullptr)
        return QV_EXIT_NOT_STARTED;
    SetUIManager(uiManager);

    window.SetCaption("QVEAPPs Tester");
    window.SetX(100);
    window.SetY(100);
    window.SetWidth(320);
    window.SetHeight(200);
    window.SetBackgroundColour(0xffffff);
    if (!window.Create())
    {
        ReportNoDisplay("appletcheck");
        return QV_EXIT_NOT_STARTED;
    }

    if (words.GetSize() < 1)
    {
        QVString text("Error: Not enough parameters");
        Show(text);
        return 1;
    }

    QVString& name = words[0];
    name.SetEncoding(QVString::Narrow);
    std::string failure;
    applet = LoadAppletModule(name.GetBuffer(), failure);
    if (applet == nullptr)
    {
        // The box waits for someone to answer it; the reason is on standard error at once.
        std::fprintf(stderr, "appletcheck: cannot load %s: %s\n", name.GetBuffer(),
                     failure.c_str());
        std::fflush(stderr);
        QVString text("Error: Cannot load ");
        text.Append(name);
        Show(text);
        return 1;
    }

    parameters.Set(QVString("@temp_path"), ProgramDirectory());
    applet->Init(&window, this, &parameters);
    applet->Run();
    // Run is the applet's message loop; one that returns at once (a loop forgotten) would leave
    // the author with a window that closes by itself and nothing said.
    if (!window.IsClosed())
        std::fprintf(stderr,
                     "appletcheck: the applet's Run returned while its window was still open: "
                     "Run should call its window's UI manager's ProcessMessages until the "
                     "window closes\n");
    applet->Shutdown();
    return 0;
}

bool AppletCheckApp::OpenURL(const QVString& url, const QVString& target)
{
    QVString text("The qveapp requested to open ");
    text.Append(url);
    text.Append("\non ");
    text.Append(target);
    Show(text);
    return true;
}

void AppletCheckApp::Show(QVString& text)
{
    if (uiManager == nullptr)
        return;
    QVString caption("");
    uiManager->ShowMessage(text, caption);
}

QVString AppletCheckApp::ProgramDirectory()
{
    char path[4096];
    if (!QVGetProgramPath(path, sizeof path))
        return QVString("");
    QVString directory(path);
    // The last separator, searched from the second-to-last character down to the second.
    int cut = directory.FindLast(QVPathSeparator(), -1);
    const int slash = directory.FindLast('/', -1);
    if (slash > cut)
        cut = slash;
    if (cut > 0)
    {
        QVString whole(directory);
        whole.Mid(directory, 0, cut);
    }
    return directory;
}
