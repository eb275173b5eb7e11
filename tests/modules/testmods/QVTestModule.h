#pragma once

#include "modules/QVModule.h"

// Kind interface of the modules built only for the module-system tests. The operations follow
// the three slots of QVModule, as every kind's do.
class QVTestModule : public QVModule
{
public:
    // Number of objects of this module's library alive right now.
    virtual int GetLiveObjects() = 0;
    // Which test module this object comes from (its target name).
    virtual const char* GetTag() = 0;
    // The memory module that this library's allocation hook forwards to, or null.
    virtual QVModule* GetHookMemoryModule() = 0;
    // Acquires the named block key of size bytes through this library's hook and copies text
    // (NUL included, at most size bytes) into it. The block, or null without a memory module.
    virtual void* AcquireNamedBlock(unsigned key, int size, const char* text) = 0;
};
