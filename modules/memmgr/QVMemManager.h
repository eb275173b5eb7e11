#pragma once

#include "core/containers/HashMap.h"
#include "modules/QVMemoryModule.h"

#include <atomic>
#include <cstdint>

// The memory module of "qvmemmgr.qvm". Every library's allocation hook forwards to one object
// of this class; the named-block registry is this object's own.
//
// The registry may be used from several threads: a short spin lock guards the map itself (never
// held while waiting for a block), and each block's busy flag is tested and set in one atomic
// exchange.
class QVMemManager : public QVMemoryModule
{
public:
    // Registry empty; switches off this library's own hook; sets the descriptor.
    QVMemManager();
    // Shutdown, then the QVModule part.
    ~QVMemManager() override;

    // Frees every registered block and the registry, switches off this library's hook and
    // releases the descriptor strings' buffers.
    void Shutdown() override;

    void* Allocate(void** out, int size) override;
    void Free(void** p) override;
    void Reserved(int value) override;
    bool AcquireBlock(void** out, int size, unsigned key) override;
    bool ReleaseBlock(unsigned key) override;
    bool Unlock(unsigned key) override;
    bool Lock(unsigned key) override;
    unsigned GetBlockCount() override;

private:
    enum : std::uint32_t
    {
        OwnsBlock = 1
    };

    struct BlockRecord
    {
        std::uint32_t key;
        void* block;
        std::int32_t size;
        std::uint32_t flags;     // OwnsBlock: freed with the record
        std::atomic<bool> busy;  // set by Lock, cleared by Unlock
    };

    // The record of key, or null; call with the registry locked.
    BlockRecord* FindRecord(unsigned key) const;
    void LockRegistry();
    void UnlockRegistry();
    // Frees the record's block (when owned) and the record.
    void DestroyRecord(BlockRecord* record);

    HashMap registry;                // key -> BlockRecord*
    std::atomic<bool> registryBusy;  // guards the map's structure
};
