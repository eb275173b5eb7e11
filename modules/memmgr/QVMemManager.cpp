#include "modules/memmgr/QVMemManager.h"

#include "modules/ModuleExport.h"
#include "modules/QVAllocHook.h"

#include <cstddef>
#include <new>
#include <thread>

namespace
{

// Every library's allocation hook creates one object here and keeps it for the life of the
// process, also after that library is unloaded: its named blocks are shared between libraries
// and threads. The leak checker of the sanitizer build knows these objects by this function's
// name (tests/lsan.supp).
QVModule* NewMemoryModuleObject() { return new (std::nothrow) QVMemManager(); }

// Waiting for a flag spins on the core while yielding it to other threads.
void Pause() { std::this_thread::yield(); }

}  // namespace

// The two entry points that QV_DEFINE_MODULE would emit, with the creation named as above.
extern "C" QV_MODULE_ENTRY QVModule* CreateMod() { return NewMemoryModuleObject(); }
extern "C" QV_MODULE_ENTRY void ReleaseMod(QVModule* module) { delete module; }
QV_REGISTER_MODULE(CreateMod, ReleaseMod)

QVMemManager::QVMemManager() : registryBusy(false)
{
    QVHookSetActive(false);
    SetFileName(QVString("qvmemmgr.qvm"));
    SetName(QVString("Memory Module 01"));
    SetPlatform(QVString("All"));
    SetType(QVString("Memory Module"));
}

QVMemManager::~QVMemManager()
{
    Shutdown();
    registry.Clear();
}

void QVMemManager::Shutdown()
{
    LockRegistry();
    const std::uint32_t count = registry.GetCount();
    for (std::uint32_t i = 0; i < count; ++i)
        DestroyRecord(static_cast<BlockRecord*>(registry[i]));
    registry.Clear();
    UnlockRegistry();
    QVHookSetActive(false);
    fileName.Free();
    name.Free();
    type.Free();
    subtype.Free();
    reservedFirst.Free();
    platform.Free();
    reservedSecond.Free();
}

void* QVMemManager::Allocate(void** out, int size)
{
    // The same pair as the hooks' heap fallback: blocks cross between the two freely.
    *out = size >= 0 ? ::operator new(static_cast<std::size_t>(size), std::nothrow) : nullptr;
    return *out;
}

void QVMemManager::Free(void** p)
{
    if (*p != nullptr)
    {
        ::operator delete(*p);
        *p = nullptr;
    }
}

void QVMemManager::Reserved(int) {}

bool QVMemManager::AcquireBlock(void** out, int size, unsigned key)
{
    for (;;)
    {
        LockRegistry();
        BlockRecord* record = FindRecord(key);
        if (record == nullptr)
        {
            *out = nullptr;
            Allocate(out, size);
            BlockRecord* made = *out != nullptr ? new (std::nothrow) BlockRecord : nullptr;
            if (made != nullptr)
            {
                made->key = key;
                made->block = *out;
                made->size = size;
                made->flags = OwnsBlock;
                made->busy = false;
                if (!registry.Insert(key, made))
                {
                    delete made;
                    made = nullptr;
                }
            }
            if (made == nullptr)
                Free(out);  // nothing registered: hand out nothing
            UnlockRegistry();
            return false;
        }
        if (!record->busy.load(std::memory_order_acquire))
        {
            *out = record->block;
            UnlockRegistry();
            return false;
        }
        UnlockRegistry();
        Pause();
    }
}

bool QVMemManager::ReleaseBlock(unsigned key)
{
    for (;;)
    {
        LockRegistry();
        BlockRecord* record = FindRecord(key);
        if (record == nullptr)
        {
            UnlockRegistry();
            return false;
        }
        // Taking the busy flag keeps anyone from locking the block while it goes.
        if (!record->busy.exchange(true, std::memory_order_acquire))
        {
            registry.Remove(key);
            UnlockRegistry();
            DestroyRecord(record);
            return true;
        }
        UnlockRegistry();
        Pause();
    }
}

bool QVMemManager::Unlock(unsigned key)
{
    LockRegistry();
    BlockRecord* record = FindRecord(key);
    if (record != nullptr)
        record->busy.store(false, std::memory_order_release);
    UnlockRegistry();
    return record != nullptr;
}

bool QVMemManager::Lock(unsigned key)
{
    for (;;)
    {
        LockRegistry();
        BlockRecord* record = FindRecord(key);
        if (record == nullptr)
        {
            UnlockRegistry();
            return false;
        }
        const bool taken = !record->busy.exchange(true, std::memory_order_acquire);
        UnlockRegistry();
        if (taken)
            return true;
        Pause();
    }
}

unsigned QVMemManager::GetBlockCount()
{
    LockRegistry();
    const unsigned count = registry.GetCount();
    UnlockRegistry();
    return count;
}

QVMemManager::BlockRecord* QVMemManager::FindRecord(unsigned key) const
{
    void* value = nullptr;
    return registry.Find(key, value) ? static_cast<BlockRecord*>(value) : nullptr;
}

void QVMemManager::LockRegistry()
{
    while (registryBusy.exchange(true, std::memory_order_acquire))
        Pause();
}

void QVMemManager::UnlockRegistry() { registryBusy.store(false, std::memory_order_release); }

void QVMemManager::DestroyRecord(BlockRecord* record)
{
    if ((record->flags & OwnsBlock) != 0)
        Free(&record->block);
    delete record;
}
