#pragma once

#include "core/string/QVString.h"
#include "loaders/QVProperties.h"
#include "plugin/QVApplet.h"
#include "plugin/QVAppletHost.h"
#include "plugin/QVAppletPackage.h"
#include "plugin/npqvarunner/BrowserKeys.h"
#include "plugin/npqvarunner/QVPluginInterface.h"
#include "plugin/npqvarunner/QVThread.h"
#include "ui/QVUIWindow.h"

#include <atomic>
#include <cstdint>
#include <mutex>

// One embedded applet: the plug-in instance interface, the host the applet talks to, and the
// thread the applet runs on, followed by the instance's state in this order: the browser's
// instance handle, the initialised flag, the applet, its window, the item standing for the
// browser's plug-in window, the browser's window record, the package directory, the package (its
// unpacking and the applet configuration), the applet parameters. What follows those is this
// plug-in's own: the key forwarding and the start-up hand-over.
//
// Threads: every operation but Run and OpenURL runs on the browser's thread. Run (the applet
// start-up, Init and the applet's Run) runs on the instance's thread, and OpenURL on it too.
class QVPluginInstance : public QVPluginInterface, public QVAppletHost, public QVThread
{
public:
    // How long Detach waits for the applet to end after asking it to quit.
    static constexpr unsigned AppletEndTimeoutMs = 10000;

    explicit QVPluginInstance(NPP browserInstance);
    // Destroys the parameters, the package, the directory, the host item, the applet window and
    // the thread part, and gives what its package cost back to the process's unpack budget
    // (QVUnpackBudget.h). Only for an instance whose applet thread ended (see CanBeFreed).
    ~QVPluginInstance() override;

    // Puts the page element's attributes into the applet parameters, in order. Null names are
    // skipped. False when memory for an entry was not available.
    bool SetAttributes(int count, char* names[], char* values[]);

    // False while an applet thread that did not end in time still uses the instance: it must
    // then be left alone (leaked) rather than freed under the thread.
    bool CanBeFreed() const { return !HasThread(); }

    // QVPluginInterface.
    bool Attach(NPWindow* window) override;
    void Detach() override;
    bool IsAttached() override { return m_initialised != 0; }
    NPError SetWindow(NPWindow* window) override;
    NPError NewStream(NPMIMEType type, NPStream* stream, NPBool seekable,
                      std::uint16_t* streamType) override;
    NPError DestroyStream(NPStream* stream, NPReason reason) override;
    void StreamAsFile(NPStream* stream, const char* fileName) override;
    std::int32_t WriteReady(NPStream* stream) override;
    std::int32_t Write(NPStream* stream, std::int32_t offset, std::int32_t length,
                       void* buffer) override;
    void Print(NPPrint* printInfo) override;
    std::int16_t HandleEvent(void* event) override;
    void URLNotify(const char* url, NPReason reason, void* notifyData) override;
    NPError GetValue(NPPVariable variable, void* value) override;
    NPError SetValue(NPNVariable variable, void* value) override;

    // QVAppletHost: the browser's get-URL entry with this instance, the URL and the target;
    // true when it returned 0. False without a browser table.
    bool OpenURL(const QVString& url, const QVString& target) override;

    // QVThread: the applet start-up, then the applet's Init and Run.
    void Run() override;

    // For tests: the applet parameters, the package directory, the applet.
    const QVProperties& GetParameters() const { return m_parameters; }
    const QVString& GetPackageDirectory() const { return m_packageDirectory; }
    QVApplet* GetApplet() const { return m_applet; }

private:
    // Hands the page's keys to the applet window's listener.
    class KeySink : public QVBrowserKeySink
    {
    public:
        explicit KeySink(QVPluginInstance& instance) : m_instance(instance) {}
        void OnBrowserKey(bool down, int key) override;

    private:
        QVPluginInstance& m_instance;
    };

    // Starts the applet thread once the applet is loaded and the window is there.
    void StartAppletWhenReady();

    NPP m_browserInstance;
    std::uint8_t m_initialised;
    QVApplet* m_applet;
    QVUIWindow m_appletWindow;
    QVUIWindow m_hostItem;
    NPWindow* m_windowRecord;
    QVString m_packageDirectory;
    QVAppletPackage m_package;
    QVProperties m_parameters;

    KeySink m_keySink;
    QVHandle m_keyForwarding;
    // The plug-in area's size, read from the window record on the browser's thread.
    int m_width;
    int m_height;
    // Hand-over between Detach and the start-up: a stop asked for before the applet started
    // keeps it from starting; once started, Detach asks its window to quit.
    std::mutex m_startLock;
    bool m_stopRequested;
    std::atomic<bool> m_appletStarted;
    // What the packages unpacked by this instance were charged against the process's budget.
    std::uint64_t m_charged;
};
