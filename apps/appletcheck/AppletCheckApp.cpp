#include "apps/appletcheck/AppletCheckApp.h"

#include "apps/framework/StartFailure.h"
#include "apps/framework/UIManagerStart.h"
#include "platform/Directory.h"
#include "platform/ProgramPath.h"
#include "plugin/AppletModule.h"

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
    applet = LoadAppletModule(name.GetBuffer());
    if (applet == nullptr)
    {
        QVString text("Error: Cannot load ");
        text.Append(name);
        Show(text);
        return 1;
    }

    parameters.Set(QVString("@temp_path"), ProgramDirectory());
    applet->Init(&window, this, &parameters);
    applet->Run();
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
