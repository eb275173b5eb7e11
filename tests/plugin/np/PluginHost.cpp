#include "tests/plugin/np/PluginHost.h"

#include "platform/DynLibrary.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace nptest
{
namespace
{
std::mutex& CallLock()
{
    static std::mutex lock;
    return lock;
}
std::vector<GetURLCall>& Calls()
{
    static std::vector<GetURLCall> calls;
    return calls;
}
NPError& Answer()
{
    static NPError answer = NPERR_NO_ERROR;
    return answer;
}

// Applets ask for URLs on their own threads.
NPError RecordGetURL(NPP instance, const char* url, const char* window)
{
    std::lock_guard<std::mutex> lock(CallLock());
    Calls().push_back(
        {instance, url != nullptr ? url : "(null)", window != nullptr ? window : "(null)"});
    return Answer();
}

void*& Library()
{
    static void* library = nullptr;
    return library;
}

fs::path TestRoot()
{
    static const fs::path root = fs::temp_directory_path() / "qv-npqvarunner-tests";
    return root;
}

// Placeholders for the entries the plug-in copies but never calls.
template <typename Function>
Function Placeholder()
{
    // Through the generic function type, which any function pointer may be cast to and from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(&RecordGetURL));
}
}  // namespace

std::string PluginFolder() { return (TestRoot() / "plugins").string(); }
std::string HostFolder() { return (TestRoot() / "browser").string(); }

bool LoadPlugin()
{
    void*& library = Library();
    static bool tried = false;
    if (tried)
        return library != nullptr;
    tried = true;
    std::error_code error;
    fs::remove_all(TestRoot(), error);
    fs::create_directories(PluginFolder());
    fs::create_directories(HostFolder());
    const fs::path plugin = QV_NPQVARUNNER;
    for (const char* file :
         {QV_NPQVARUNNER, QV_UI_MANAGER_MODULE, QV_PROPERTY_LOADER_MODULE, QV_MEMORY_MODULE})
        fs::copy_file(file, fs::path(PluginFolder()) / fs::path(file).filename(),
                      fs::copy_options::overwrite_existing);
    // The browser's working directory holds no module: the plug-in finds its own beside itself.
    fs::current_path(HostFolder());
    library = QVOpenLibrary((fs::path(PluginFolder()) / plugin.filename()).string().c_str());
    return library != nullptr;
}

NPNetscapeFuncs MakeBrowserFuncs()
{
    NPNetscapeFuncs funcs = {};
    funcs.size = sizeof funcs;
    funcs.version = (0 << 8) | 19;
    funcs.geturl = RecordGetURL;
    funcs.posturl = Placeholder<NPN_PostURLProcPtr>();
    funcs.requestread = Placeholder<NPN_RequestReadProcPtr>();
    funcs.newstream = Placeholder<NPN_NewStreamProcPtr>();
    funcs.write = Placeholder<NPN_WriteProcPtr>();
    funcs.destroystream = Placeholder<NPN_DestroyStreamProcPtr>();
    funcs.status = Placeholder<NPN_StatusProcPtr>();
    funcs.uagent = Placeholder<NPN_UserAgentProcPtr>();
    funcs.memalloc = Placeholder<NPN_MemAllocProcPtr>();
    funcs.memfree = Placeholder<NPN_MemFreeProcPtr>();
    funcs.memflush = Placeholder<NPN_MemFlushProcPtr>();
    funcs.reloadplugins = Placeholder<NPN_ReloadPluginsProcPtr>();
    funcs.getJavaEnv = Placeholder<NPN_GetJavaEnvProcPtr>();
    funcs.getJavaPeer = Placeholder<NPN_GetJavaPeerProcPtr>();
    funcs.geturlnotify = Placeholder<NPN_GetURLNotifyProcPtr>();
    funcs.posturlnotify = Placeholder<NPN_PostURLNotifyProcPtr>();
    funcs.getvalue = Placeholder<NPN_GetValueProcPtr>();
    funcs.setvalue = Placeholder<NPN_SetValueProcPtr>();
    funcs.invalidaterect = Placeholder<NPN_InvalidateRectProcPtr>();
    funcs.invalidateregion = Placeholder<NPN_InvalidateRegionProcPtr>();
    funcs.forceredraw = Placeholder<NPN_ForceRedrawProcPtr>();
    return funcs;
}

const NPPluginFuncs& PluginFuncs()
{
    static NPPluginFuncs funcs = {};
    static bool filled = false;
    if (!filled && LoadPlugin())
    {
        NPNetscapeFuncs browser = MakeBrowserFuncs();
        funcs.size = sizeof funcs;
        filled = CallInitialize(&browser) == NPERR_NO_ERROR &&
                 CallGetEntryPoints(&funcs) == NPERR_NO_ERROR;
    }
    return funcs;
}

std::vector<GetURLCall> GetURLCalls()
{
    std::lock_guard<std::mutex> lock(CallLock());
    return Calls();
}

void ClearGetURLCalls()
{
    std::lock_guard<std::mutex> lock(CallLock());
    Calls().clear();
}

void SetGetURLAnswer(NPError answer)
{
    std::lock_guard<std::mutex> lock(CallLock());
    Answer() = answer;
}

void* PluginSymbol(const char* name)
{
    return LoadPlugin() ? QVLibrarySymbol(Library(), name) : nullptr;
}
}  // namespace nptest
