#include "plugin/npqvarunner/QVPluginInstance.h"

#include "modules/LoadModuleAs.h"
#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "platform/LibraryPin.h"
#include "plugin/ScriptURL.h"
#include "plugin/npqvarunner/BrowserTableCopy.h"
#include "plugin/npqvarunner/QVUnpackBudget.h"
#include "ui/QVUIManager.h"

#include <cstdio>
#include <string>

namespace
{
const std::int32_t WriteReadyBytes = 0x0fffffff;
const std::uint32_t AppletBackground = 0xffffff;

// The process-wide UI manager, loaded on the browser's thread by the first applet that starts
// (the module manager serves one thread). Null when the module is missing or of another kind.
QVUIManager* LoadUIManager()
{
    if (GetUIManager() != nullptr)
        return GetUIManager();
    QVUIManager* manager = LoadModuleAs<QVUIManager>(GetModManager(), GetUIManagerFileName());
    if (manager == nullptr)
        return nullptr;
    SetUIManager(manager);
    return manager;
}

std::string Narrow(const QVString& text)
{
    QVString copy(text);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetLength() > 0 ? std::string(copy.GetBuffer()) : std::string();
}
}  // namespace

QVPluginInstance::QVPluginInstance(NPP browserInstance)
    : m_browserInstance(browserInstance), m_initialised(0), m_applet(nullptr),
      m_windowRecord(nullptr), m_parameters(0), m_keySink(*this), m_keyForwarding(nullptr),
      m_width(0), m_height(0), m_stopRequested(false), m_appletStarted(false), m_charged(0)
{
}

QVPluginInstance::~QVPluginInstance() { QVUnpackBudget::Process().Return(m_charged); }

bool QVPluginInstance::SetAttributes(int count, char* names[], char* values[])
{
    if (names == nullptr || values == nullptr)
        return true;
    for (int i = 0; i < count; ++i)
    {
        if (names[i] == nullptr)
            continue;
        const QVString key(names[i]);
        const QVString value(values[i] != nullptr ? values[i] : "");
        const std::uint32_t before = m_parameters.GetCount();
        // Set reports false both for a replaced value and for a failed insertion; only the
        // latter leaves the count unchanged for a key it did not have.
        QVString present;
        const bool known = m_parameters.Get(key, present);
        m_parameters.Set(key, value);
        if (!known && m_parameters.GetCount() == before)
            return false;
    }
    return true;
}

bool QVPluginInstance::Attach(NPWindow* window)
{
    if (window == nullptr || window->window == nullptr)
        return false;
    m_windowRecord = window;
    m_width = static_cast<int>(window->width);
    m_height = static_cast<int>(window->height);
    m_hostItem.StoreWindow(window->window);
    // Keys of the page reach this instance's applet only; a page without a window to watch
    // still runs its applet, without keys.
    m_keyForwarding = QVStartKeyForwarding(window->window, &m_keySink);
    m_initialised = 1;
    StartAppletWhenReady();
    return true;
}

void QVPluginInstance::Detach()
{
    // No key reaches the applet from here on.
    QVStopKeyForwarding(m_keyForwarding);
    m_keyForwarding = nullptr;
    {
        std::lock_guard<std::mutex> lock(m_startLock);
        m_stopRequested = true;
        QVUIManager* manager = m_appletWindow.GetManager();
        if (m_appletStarted && manager != nullptr)
            manager->PostQuit(&m_appletWindow);
    }
    // Nothing of the instance goes away while the applet may still use it.
    if (!Wait(AppletEndTimeoutMs))
    {
        std::fprintf(stderr,
                     "npqvarunner: the applet in %s did not end within %u ms after it was asked "
                     "to quit; its instance is left in place\n",
                     Narrow(m_packageDirectory).c_str(), AppletEndTimeoutMs);
        // The thread runs this library's code until it ends, also after the browser unloaded
        // the plug-in.
        QVPinOwnLibrary();
    }
    else if (m_appletWindow.GetWindow() != nullptr)
    {
        m_appletWindow.Destroy();
    }
    Stop();
    m_initialised = 0;
}

NPError QVPluginInstance::SetWindow(NPWindow* window)
{
    // The applet window keeps the size it was made with; only a size known before the start
    // is taken.
    if (window != nullptr && !m_appletStarted && !HasThread())
    {
        m_width = static_cast<int>(window->width);
        m_height = static_cast<int>(window->height);
    }
    return NPERR_NO_ERROR;
}

NPError QVPluginInstance::NewStream(NPMIMEType, NPStream*, NPBool, std::uint16_t* streamType)
{
    if (streamType != nullptr)
        *streamType = NP_ASFILEONLY;
    return NPERR_NO_ERROR;
}

NPError QVPluginInstance::DestroyStream(NPStream*, NPReason) { return NPERR_NO_ERROR; }

void QVPluginInstance::StreamAsFile(NPStream*, const char* fileName)
{
    // One package per instance: a second stream would change what a running applet uses.
    if (fileName == nullptr || m_applet != nullptr || m_stopRequested)
        return;
    // Browsers hand "/" separators too (every browser on Linux, some on Windows); the package
    // directory, its change and "@temp_path" take the system's own.
    std::string path(fileName);
    for (char& c : path)
        if (c == '/')
            c = QVPathSeparator();
    // All applets of the process (of the page, in the player) unpack within one budget.
    QVUnpackBudget& budget = QVUnpackBudget::Process();
    m_package.SetByteLimit(budget.Available());
    const bool unpacked = m_package.Unpack(QVString(path.c_str()), m_parameters);
    m_charged += m_package.GetReport().charged;
    budget.Charge(m_package.GetReport().charged);
    if (!unpacked)
        return;
    m_packageDirectory.Assign(m_package.GetDirectory());
    // A package that does not give an applet starts nothing; the instance stays harmless, and
    // the reason goes to standard error, the plug-in's only voice.
    m_applet = m_package.LoadApplet(m_parameters);
    if (m_applet == nullptr)
        std::fprintf(stderr, "npqvarunner: no applet from %s: %s\n", path.c_str(),
                     m_package.GetFailure().c_str());
    StartAppletWhenReady();
}

void QVPluginInstance::StartAppletWhenReady()
{
    if (m_applet == nullptr || m_initialised == 0 || HasThread() || m_stopRequested)
        return;
    QVUIManager* manager = LoadUIManager();
    if (manager == nullptr)
        return;
    m_appletWindow.SetManager(manager);
    Start();
}

void QVPluginInstance::Run()
{
    // The start-up, on the applet's thread, where the window is made and served.
    ChangeDirectory(m_packageDirectory);
    m_appletWindow.SetWidth(m_width);
    m_appletWindow.SetHeight(m_height);
    QVUIItem::SetParent(m_appletWindow, m_hostItem);
    m_appletWindow.SetBackgroundColour(AppletBackground);
    const bool created = m_appletWindow.Create();
    {
        std::lock_guard<std::mutex> lock(m_startLock);
        if (!created || m_stopRequested)
            return;
        m_appletStarted = true;
    }
    m_applet->Init(&m_appletWindow, this, &m_parameters);
    m_applet->Run();
    // Run ends when the page lets the applet go; before that, its loop was missing or ended
    // early, and the applet's controls stay on the page without anyone serving them.
    std::lock_guard<std::mutex> lock(m_startLock);
    if (!m_stopRequested && !m_appletWindow.IsClosed())
        std::fprintf(stderr,
                     "npqvarunner: the applet in %s returned from Run while its window was still "
                     "open: Run should call its window's UI manager's ProcessMessages until it "
                     "returns false\n",
                     Narrow(m_packageDirectory).c_str());
}

std::int32_t QVPluginInstance::WriteReady(NPStream*) { return WriteReadyBytes; }

std::int32_t QVPluginInstance::Write(NPStream*, std::int32_t, std::int32_t length, void*)
{
    return length;
}

void QVPluginInstance::Print(NPPrint*) {}

std::int16_t QVPluginInstance::HandleEvent(void*) { return 0; }

void QVPluginInstance::URLNotify(const char*, NPReason, void*) {}

NPError QVPluginInstance::GetValue(NPPVariable, void*) { return NPERR_NO_ERROR; }

NPError QVPluginInstance::SetValue(NPNVariable, void*) { return NPERR_NO_ERROR; }

bool QVPluginInstance::OpenURL(const QVString& url, const QVString& target)
{
    NPN_GetURLProcPtr getURL = QVBrowserFuncs().geturl;
    if (getURL == nullptr)
        return false;
    const std::string narrowURL = Narrow(url);
    // The browser would run it in the page, with the page's rights.
    if (QVIsScriptURL(narrowURL.c_str()))
        return false;
    const std::string narrowTarget = Narrow(target);
    return getURL(m_browserInstance, narrowURL.c_str(), narrowTarget.c_str()) == NPERR_NO_ERROR;
}

void QVPluginInstance::KeySink::OnBrowserKey(bool down, int key)
{
    if (!m_instance.m_appletStarted)
        return;
    QVUIWindow& window = m_instance.m_appletWindow;
    QVUIListener* listener = window.GetListener();
    if (listener == nullptr)
        return;
    if (down)
        listener->OnKeyDown(&window, 0, key);
    else
        listener->OnKeyUp(&window, 0, key);
}
