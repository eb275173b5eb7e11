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
};
