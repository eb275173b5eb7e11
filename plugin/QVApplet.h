#pragma once

#include "loaders/QVProperties.h"
#include "modules/QVModule.h"
#include "plugin/QVAppletHost.h"
#include "ui/QVUIWindow.h"

// Base of an applet module: the module class of an applet library (declared with
// QV_DEFINE_MODULE, modules/ModuleExport.h). Its descriptors (file name, name, platform) are the
// applet's own; its type is "Applet", set here, and must stay so.
//
// Lifecycle: the host loads the library, creates the window, calls Init once and then Run, on
// one thread (the plug-in's applet thread, appletcheck's main thread). appletcheck calls
// Shutdown after Run returns; the plug-in does not. The slot order (3 and 4 after QVModule's
// three) is a contract between hosts and separately built applets: do not reorder.
class QVApplet : public QVModule
{
public:
    // The module type of applets. Hosts run only modules of this type as applets: any other
    // module named by a package or on appletcheck's command line is refused before Init.
    static constexpr const char* ModuleType = "Applet";

    QVApplet() { SetType(QVString(ModuleType)); }

    // Slot 3. Called once, after the host created window (white, not yet holding any control).
    // The applet keeps the three pointers: they stay valid while it runs, and they belong to
    // the host. parameters holds the page element's attributes and "@temp_path", the directory
    // the package was unpacked in (appletcheck: only "@temp_path", its own directory). The
    // result is ignored.
    virtual bool Init(QVUIWindow* window, QVAppletHost* host, QVProperties* parameters) = 0;
    // Slot 4. The applet's main loop: it creates its controls, pumps its window's messages
    // through the window's UI manager (ProcessMessages) and returns when the applet ends,
    // typically once the window was closed. The result is ignored.
    virtual int Run() = 0;
};
