#pragma once

#include "modules/QVModule.h"

// The allocation hook: where a library's container and string memory comes from. Each library
// has one (see AllocHook.cpp), built during its static initialisation before any of its static
// objects allocates. It loads the memory module unlisted through the library's module manager
// and forwards to it; without the memory module it uses the runtime heap. Both sides use the
// same heap pair (operator new / operator delete), so memory taken in one library may be
// returned in another, with or without the memory module.
class QVAllocHook
{
public:
    // Loads the memory module fileName (null: "qvmemmgr.qvm") with LoadModuleUnlisted. A library
    // of that name that is not a "Memory Module" is released again and the heap is used.
    explicit QVAllocHook(const char* fileName);
    // Does nothing: the memory module stays loaded (see Retire).
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

    // Switches to the heap for good and gives back the memory module object this hook created,
    // through its library's ReleaseMod. For the end of the library that owns the hook, so that
    // unloading a module library does not leave its memory module object behind.
    void Retire();

    // The runtime heap pair used without a memory module; the memory module uses the same.
    static void HeapAllocate(void** out, int size);
    static void HeapFree(void** p);

private:
    bool active;             // forward to the memory module
    QVModule* memoryModule;  // null when none was loaded
    bool ownsModule;         // this hook created the object (it was not in the manager's table)
};

// The allocation hook of this library.
QVAllocHook& GetAllocHook();

// Switches this library's hook on or off (off: runtime heap). The memory module switches off
// its own library's hook.
void QVHookSetActive(bool value);
