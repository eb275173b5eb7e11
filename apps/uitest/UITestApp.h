#pragma once

#include "apps/framework/QVApplication.h"
#include "ui/QVUIButton.h"
#include "ui/QVUIHandLabel.h"
#include "ui/QVUILabel.h"
#include "ui/QVUIListener.h"
#include "ui/QVUIManager.h"
#include "ui/QVUIWindow.h"

// The UI test program: one window with a label and an "Exit" button that asks before quitting.
// Exercises the UI manager module of the platform.
class UITestApp : public QVApplication, public QVUIListener
{
public:
    UITestApp();
    // Destroys the items in reverse order (label, hand label, button, window).
    ~UITestApp() override;

    // Loads the UI manager, creates the items and runs the message loop until the window is
    // closed or the user confirms Exit. Returns 0; without the UI manager module or a display it
    // says so on standard error and returns QV_EXIT_NOT_STARTED.
    int Run() override;
    // A click on the button asks whether to quit and posts the quit message on Yes.
    void OnCommand(QVUIItem* control) override;

private:
    QVUIWindow window;
    QVUIButton button;
    QVUIHandLabel handLabel;  // never configured or created
    QVUILabel label;
    QVUIManager* uiManager;
};
