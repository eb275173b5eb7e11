#pragma once

#include "modules/QVModule.h"

#include <cstddef>
#include <new>

// Declares a library's module class once and emits its two entry points, CreateMod and
// ReleaseMod, which are the only symbols a module library exports. On Windows a .def file fixes
// their names and ordinals (1 and 2); on ELF they are the only symbols with default visibility.
//
// On the web the module is compiled into the program (cmake/QVModule.cmake): the build names the
// entry points after the module target (CreateMod_<target>, ReleaseMod_<target>, so that the
// modules of one program do not clash) and gives the module's file name and folder, and
// QV_REGISTER_MODULE enters the pair in the program's table of compiled-in modules
// (platform/QVCompiledLibrary.h), where the module manager finds it under the file name.
// Libraries that write their entry points by hand name them with QV_REGISTER_MODULE themselves
// (nullptr for one they lack). Elsewhere QV_REGISTER_MODULE is empty.
#if defined(_WIN32)
#define QV_MODULE_ENTRY
#else
#define QV_MODULE_ENTRY __attribute__((visibility("default")))
#endif

#if defined(__EMSCRIPTEN__)
#include "platform/QVCompiledLibrary.h"

#if !defined(QV_MODULE_FILE_NAME) || !defined(QV_MODULE_FOLDER)
#error "a module for the web is built with qv_add_module, which gives its file name and folder"
#endif

template <typename Function>
void* QVModuleEntryAddress(Function* function)
{
    return reinterpret_cast<void*>(function);
}
inline void* QVModuleEntryAddress(std::nullptr_t) { return nullptr; }

// Registers a compiled-in module before main.
struct QVModuleRegistration
{
    explicit QVModuleRegistration(QVCompiledLibrary* library)
    {
        QVRegisterCompiledLibrary(library);
    }
};

#define QV_REGISTER_MODULE(create, release)                                                        \
    namespace                                                                                      \
    {                                                                                              \
    const QVCompiledSymbol qvModuleEntryPoints[] = {{"CreateMod", QVModuleEntryAddress(create)},   \
                                                    {"ReleaseMod", QVModuleEntryAddress(release)}, \
                                                    {nullptr, nullptr}};                           \
    QVCompiledLibrary qvCompiledModule = {QV_MODULE_FILE_NAME, QV_MODULE_FOLDER,                   \
                                          qvModuleEntryPoints, nullptr};                           \
    const QVModuleRegistration qvModuleRegistration(&qvCompiledModule);                            \
    }
#else
#define QV_REGISTER_MODULE(create, release)
#endif

#define QV_DEFINE_MODULE(ModuleClass)                                                              \
    extern "C" QV_MODULE_ENTRY QVModule* CreateMod() { return new (std::nothrow) ModuleClass(); }  \
    extern "C" QV_MODULE_ENTRY void ReleaseMod(QVModule* module)                                   \
    {                                                                                              \
        delete module; /* the virtual destructor runs in the library that made it */               \
    }                                                                                              \
    QV_REGISTER_MODULE(CreateMod, ReleaseMod)
