#include "modules/QVAllocHook.h"

#include "modules/QVMemoryModule.h"
#include "modules/QVModManager.h"

#include <cstddef>
#include <new>

namespace
{

const char DefaultModuleFile[] = "qvmemmgr.qvm";

}  // namespace

QVAllocHook::QVAllocHook(const char* fileName) : active(false), memoryModule(nullptr)
{
    int status = QV_LOAD_FAILED;
    QVModule* module = GetModManager().LoadModuleUnlisted(
        fileName != nullptr ? fileName : DefaultModuleFile, status);
    if (module == nullptr)
        return;
    // Everything this library allocates would go through the module's Allocate and Free: a
    // library that merely carries the name must not be called that way.
    if (!module->GetType().Equals(QVString(QVMemoryModule::ModuleType)))
    {
        if (status == QV_LOAD_NEW)
            GetModManager().ReleaseUnlisted(module);
        return;
    }
    memoryModule = module;
    active = true;
}

QVAllocHook::~QVAllocHook() = default;

void QVAllocHook::Allocate(void** out, int size)
{
    if (active && memoryModule != nullptr)
        static_cast<QVMemoryModule*>(memoryModule)->Allocate(out, size);
    else
        HeapAllocate(out, size);
}

void QVAllocHook::Free(void** p)
{
    if (active && memoryModule != nullptr)
        static_cast<QVMemoryModule*>(memoryModule)->Free(p);
    else
        HeapFree(p);
}

void QVAllocHook::HeapAllocate(void** out, int size)
{
    *out = size >= 0 ? ::operator new(static_cast<std::size_t>(size), std::nothrow) : nullptr;
}

void QVAllocHook::HeapFree(void** p)
{
    if (*p != nullptr)
    {
        ::operator delete(*p);
        *p = nullptr;
    }
}
