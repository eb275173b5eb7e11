#pragma once

#include "plugin/QVAppletHost.h"

#include <string>

// The host side of an applet running in a web page. OpenURL goes to the page script
// (qvapplet.js), which dispatches a cancelable "qv-openurl" event {url, target} on the page's
// applet element and, unless a handler cancelled it, opens the URL in the named target.
class QVWebAppletHost : public QVAppletHost
{
public:
    // element: the number N of the applet's host element "qvwin-N" in the page.
    explicit QVWebAppletHost(int element) : m_element(element) {}

    // True when the page's handler took the request or the browser opened the URL; false when
    // the browser refused (a blocked pop-up, an unusable URL) and for a "javascript:",
    // "vbscript:" or "data:" URL, which never reaches the page (ScriptURL.h).
    bool OpenURL(const QVString& url, const QVString& target) override;

    // The text as UTF-8: 16-bit texts are encoded, 8-bit texts are taken to be UTF-8 already
    // (as the page hands its attributes to the applet).
    static std::string ToUtf8(const QVString& text);

private:
    int m_element;
};
