#pragma once

#include "apps/framework/QVApplication.h"

// qvmods: lists every module library in the working directory and in the runtime directory as
// the module manager sees them (file, descriptor, or why it is not a module), to answer "why is
// my module not found?". Takes no arguments; exit code 0, or 1 when no library was found.
class QVModsApplication : public QVApplication
{
public:
    int Run() override;
};
