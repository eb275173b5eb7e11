#include "modules/ModuleLoadFailure.h"

namespace
{
QVModuleLoadFailureHandler& Handler()
{
    static QVModuleLoadFailureHandler handler = nullptr;
    return handler;
}
}  // namespace

void SetModuleLoadFailureHandler(QVModuleLoadFailureHandler handler) { Handler() = handler; }

void ReportModuleLoadFailure(const char* fileName)
{
    if (Handler() != nullptr && fileName != nullptr)
        Handler()(fileName);
}
