#include "apps/uitest/UITestApp.h"

#include "apps/framework/StartFailure.h"
#include "apps/framework/UIManagerStart.h"
#include "modules/QVModManager.h"

namespace
{
const char* const programName = "uitest";
}

// The process-wide application, constructed before the program entry runs.
UITestApp uiTestApplication;

UITestApp::UITestApp() : uiManager(nullptr) {}

UITestApp::~UITestApp()
{
    label.Destroy();
    handLabel.Destroy();
    button.Destroy();
    window.Destroy();
}

int UITestApp::Run()
{
    // Without a UI manager, or without a window, there is nowhere to show a message: the
    // failed start is told on standard error.
    uiManager = LoadUIManagerOrReport(programName);
    if (uiManager == nullptr)
        return QV_EXIT_NOT_STARTED;

    window.SetOwner(this);
    window.SetManager(uiManager);
    window.SetCaption("Test window");
    window.SetBackgroundColour(0x990000);
    window.SetX(10);
    window.SetY(20);
    window.SetWidth(300);
    window.SetHeight(200);
    window.SetListener(static_cast<QVUIListener*>(this));

    label.SetCaption("Test caption");
    label.SetWidth(100);
    label.SetHeight(20);
    QVUIItem::SetParent(label, window);

    button.SetCaption("Exit");
    button.SetX(0);
    button.SetY(30);
    button.SetWidth(100);
    button.SetHeight(30);
    QVUIItem::SetParent(button, window);

    bool opened = window.Create();
    if (opened)
    {
        button.Create();
        label.Create();
    }

    while (window.GetManager() != nullptr && window.GetManager()->ProcessMessages(&window, false))
    {
    }

    window.Destroy();
    button.Destroy();
    label.Destroy();
    GetModManager().ReleaseModule(uiManager);
    // The module is gone: the items must not reach it again when they are destroyed at exit.
    window.SetManager(nullptr);
    button.SetManager(nullptr);
    label.SetManager(nullptr);
    uiManager = nullptr;
    if (!opened)
    {
        ReportNoDisplay(programName);
        return QV_EXIT_NOT_STARTED;
    }
    return 0;
}

void UITestApp::OnCommand(QVUIItem* control)
{
    if (control != &button)
        return;
    QVString text("Really wanna quit?");
    QVString caption("test message");
    if (uiManager->AskYesNo(text, caption) && window.GetManager() != nullptr)
        window.GetManager()->PostQuit(&window);
}
