#pragma once

#include "modules/QVModule.h"

// Kind interface of the memory module ("Memory Module", library "qvmemmgr.qvm"): heap memory
// that every library of a process shares through its allocation hook, and a registry of named
// blocks with a busy lock for memory shared between threads. Operations follow the three slots
// of QVModule in this order; the order is a contract with the hosts.
class QVMemoryModule : public QVModule
{
public:
    // The module type that the memory module set and hosts check before using a module as one.
    static constexpr const char* ModuleType = "Memory Module";

    // Slot 3. *out = size bytes from the runtime heap (null when size is negative or memory is
    // short); returns *out. The caller owns the block and returns it with Free.
    virtual void* Allocate(void** out, int size) = 0;
    // Slot 4. Returns *p (null is fine) to the runtime heap and sets *p to null.
    virtual void Free(void** p) = 0;
    // Slot 5. Does nothing.
    virtual void Reserved(int value) = 0;
    // Slot 6. The block named key: when registered, waits until it is not locked and puts it
    // into *out; otherwise allocates size bytes into *out and registers them under key (*out
    // null when memory is short). The module owns the block. Always returns false.
    virtual bool AcquireBlock(void** out, int size, unsigned key) = 0;
    // Slot 7. Waits until the block is not locked, frees it and forgets key. False when key is
    // not registered.
    virtual bool ReleaseBlock(unsigned key) = 0;
    // Slot 8. Clears the block's busy flag. False when key is not registered.
    virtual bool Unlock(unsigned key) = 0;
    // Slot 9. Waits until the block's busy flag is clear and sets it, in one atomic step. False
    // when key is not registered. A thread must not lock a block it already holds.
    virtual bool Lock(unsigned key) = 0;
    // Slot 10. Number of registered blocks.
    virtual unsigned GetBlockCount() = 0;
};
