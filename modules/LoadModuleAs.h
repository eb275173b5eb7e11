#pragma once

#include "modules/QVModManager.h"

// Typed loads. Kind is a module interface that names its module type in a constant
// (Kind::ModuleType, e.g. QVRenderer::ModuleType is "3D Renderer"). The module is loaded as
// LoadModule loads it, with the same status; a module of another type is not one the caller can
// use, so the result is then null. Such a module stays loaded, as LoadModule left it: whoever
// loaded it first may still hold it.
template <class Kind>
Kind* LoadModuleAs(QVModManager& manager, const char* fileName, int& status)
{
    QVModule* module = manager.LoadModule(fileName, status);
    if (module == nullptr || !module->GetType().Equals(QVString(Kind::ModuleType)))
        return nullptr;
    return static_cast<Kind*>(module);
}

template <class Kind>
Kind* LoadModuleAs(QVModManager& manager, const char* fileName)
{
    int status = QV_LOAD_FAILED;
    return LoadModuleAs<Kind>(manager, fileName, status);
}
