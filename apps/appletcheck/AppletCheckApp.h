#pragma once

#include "apps/framework/QVApplication.h"
#include "loaders/QVProperties.h"
#include "plugin/QVApplet.h"
#include "plugin/QVAppletHost.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIWindow.h"

// The applet tester: runs the applet module named on its command line in a window of its own,
// with the applet and host interfaces that the browser plug-in offers, so that an applet can be
// tried without packaging it. The applet's OpenURL requests are shown in a message box.
class AppletCheckApp : public QVApplication, public QVAppletHost
{
public:
    AppletCheckApp();
    ~AppletCheckApp() override;

    // Loads the UI manager, creates the window "QVEAPPs Tester" (100, 100, 320 x 200, white),
    // loads the applet named by the first word (the others are ignored) and runs it: Init, Run,
    // Shutdown. Returns 0 when the applet ran, 1 when there was no word or no applet to load
    // (after saying so in a message box).
    int RunArgs(QVArray<QVString>& words) override;

    // Shows "The qveapp requested to open " + url + "\non " + target; returns true.
    bool OpenURL(const QVString& url, const QVString& target) override;

private:
    // Shows text in a message box with an empty caption, when the UI manager was loaded.
    void Show(QVString& text);
    // The directory of this program's file (the whole path, blanks and all), without a
    // trailing separator.
    static QVString ProgramDirectory();

    QVUIWindow window;
    QVApplet* applet;
    QVProperties parameters;
    QVUIManager* uiManager;
};
