// The allocation hook of this library: container and string memory.
#include "core/memory/AllocHook.h"

#include <cstddef>
#include <new>

void QVHookAllocate(void** out, int size)
{
    *out = ::operator new(size > 0 ? static_cast<std::size_t>(size) : 1);
}

void QVHookFree(void** p)
{
    if (*p != nullptr) {
        ::operator delete(*p);
        *p = nullptr;
    }
}
