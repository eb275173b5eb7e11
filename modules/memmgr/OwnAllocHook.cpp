// The allocation hook of the memory module's own library. Its containers (the registry's map,
// its descriptor strings) use the runtime heap directly, so this library never loads itself: it
// provides the core's two memory calls here, and the linker then leaves the loading hook of the
// runtime library out.
#include "core/memory/AllocHook.h"

#include "modules/QVAllocHook.h"

void QVHookAllocate(void** out, int size) { QVAllocHook::HeapAllocate(out, size); }

void QVHookFree(void** p) { QVAllocHook::HeapFree(p); }

// Always off here; switching it is accepted and changes nothing.
void QVHookSetActive(bool) {}
