// This library's allocation hook and the two memory calls of the core.
//
// The hook is a function-local static, so it is built by whichever comes first: the first
// allocation of any static object of this library, or the trigger below during static
// initialisation. The order of translation units therefore does not matter. It lives in static
// storage and is never destroyed, so static objects destroyed late can still free through it,
// and the memory module object it loaded stays for the life of the process, also after this
// library is unloaded: the named blocks it holds are shared with other libraries and threads.
// While it is being built (it loads the memory module, which allocates strings), allocations use
// the heap; they may be freed through the memory module later, which uses the same heap pair.
#include "core/memory/AllocHook.h"

#include "modules/QVAllocHook.h"

#include <new>

namespace
{

bool hookUnderConstruction = false;  // constant-initialised: valid before any constructor
alignas(QVAllocHook) unsigned char hookStorage[sizeof(QVAllocHook)];

QVAllocHook* LibraryHook()
{
    static QVAllocHook* const hook = []
    {
        hookUnderConstruction = true;
        QVAllocHook* made = ::new (static_cast<void*>(hookStorage)) QVAllocHook(nullptr);
        hookUnderConstruction = false;
        return made;
    }();
    return hook;
}

// Builds the hook during static initialisation even when nothing allocates then.
const bool hookBuiltAtStart = (LibraryHook(), true);

}  // namespace

void QVHookAllocate(void** out, int size)
{
    if (hookUnderConstruction)
        QVAllocHook::HeapAllocate(out, size);
    else
        LibraryHook()->Allocate(out, size);
}

void QVHookFree(void** p)
{
    if (hookUnderConstruction)
        QVAllocHook::HeapFree(p);
    else
        LibraryHook()->Free(p);
}

void QVHookSetActive(bool value)
{
    if (!hookUnderConstruction)
        LibraryHook()->SetActive(value);
}

QVAllocHook& GetAllocHook() { return *LibraryHook(); }
