#pragma once

#include "modules/QVModule.h"

#include <new>

// Declares a library's module class once and emits its two entry points, CreateMod and
// ReleaseMod, which are the only symbols a module library exports. On Windows a .def file fixes
// their names and ordinals (1 and 2); on ELF they are the only symbols with default visibility.
#if defined(_WIN32)
#define QV_MODULE_ENTRY
#else
#define QV_MODULE_ENTRY __attribute__((visibility("default")))
#endif

#define QV_DEFINE_MODULE(ModuleClass)                                                              \
    extern "C" QV_MODULE_ENTRY QVModule* CreateMod() { return new (std::nothrow) ModuleClass(); }  \
    extern "C" QV_MODULE_ENTRY void ReleaseMod(QVModule* module)                                   \
    {                                                                                              \
        delete module; /* the virtual destructor runs in the library that made it */               \
    }
