#pragma once

#include "core/string/QVString.h"

// What a host (the browser plug-in, appletcheck) offers the applet it runs. The host owns the
// object; it stays valid while the applet runs. The slot order is a contract between hosts and
// separately built applet modules: do not reorder or add virtual operations before it.
class QVAppletHost
{
public:
    // Slot 0. Asks the host to open url in the named target ("_blank", "_self", a frame name).
    // The plug-in hands both to the browser and returns whether the browser accepted the
    // request (a "javascript:", "vbscript:" or "data:" URL is refused with false, ScriptURL.h);
    // appletcheck shows them in a message box and returns true. Called on the applet's thread.
    virtual bool OpenURL(const QVString& url, const QVString& target) = 0;

protected:
    // Hosts are never deleted through this interface.
    ~QVAppletHost() = default;
};
