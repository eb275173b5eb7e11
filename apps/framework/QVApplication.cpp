#include "apps/framework/QVApplication.h"

namespace
{
// Constant-initialised, so it is null before any static constructor runs.
QVApplication* processApplication = nullptr;
}  // namespace

QVApplication::QVApplication() : QVObject(0), instance(nullptr)
{
    if (processApplication == nullptr)
        processApplication = this;
}

QVApplication::~QVApplication()
{
    // Leave no dangling process-wide pointer behind when the application goes away first.
    if (processApplication == this)
        processApplication = nullptr;
}

int QVApplication::Hook(int, int) { return -1; }

int QVApplication::RunArgs(QVArray<QVString>&) { return -1; }

int QVApplication::Run() { return -1; }

QVApplication* QVGetApplication() { return processApplication; }
