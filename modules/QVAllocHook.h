#pragma once

#include "modules/QVModule.h"

// The allocation hook: where a library's container and string memory comes from. Each library
// has one (see LibraryAllocHook.cpp), built during its static initialisation before any of its static
// objects allocates. It loads the memory module unlisted through the library's module manager
// and forwards to it; without the memory module it uses the runtime heap. Both sides use the
// same heap pair (operator new / operator delete), so memory taken in one library may be
// returned in another, with or without the memory module.
//
// Nothing ever releases the memory module object a hook loaded: its named blocks are shared
// between libraries and threads, and stay usable after the library that acquired them is
// unloaded. (The leak checker of the sanitizer build is told so in tests/lsan.supp.)
class QVAllocHook
{
public:
    // Loads the memory module fileName (null: "qvmemmgr.qvm") with LoadModuleUnlisted. A library
    // of that name that is not a "Memory Module" is released again and the heap is used.
    explicit QVAllocHook(const char* fileName);
    // Does nothing: the memory module stays loaded until the process ends.
    ~QVAllocHook();

    QVAllocHook(const QVAllocHook&) = delete;
    QVAllocHook& operator=(const QVAllocHook&) = delete;

    // *out = size bytes, from the memory module when active, else from the heap; null when size
    // is negative or memory is short.
    void Allocate(void** out, int size);
    // Returns *p (null is fine) and always leaves *p null.
    void Free(void** p);
    void SetActive(bool value) { active = value; }
    bool IsActive() const { return active; }
    // The memory module this hook forwards to, or null.
    QVModule* GetModule() const { return memoryModule; }

    // The runtime heap pair used without a memory module; the memory module uses the same.
    static void HeapAllocate(void** out, int size);
    static void HeapFree(void** p);

private:
    bool active;             // forward to the memory module
    QVModule* memoryModule;  // null when none was loaded
};

// The allocation hook of this library.
QVAllocHook& GetAllocHook();

// Switches this library's hook on or off (off: runtime heap). The memory module switches off
// its own library's hook.
void QVHookSetActive(bool value);
