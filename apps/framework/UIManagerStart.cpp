#include "apps/framework/UIManagerStart.h"

#include "apps/framework/StartFailure.h"
#include "modules/LoadModuleAs.h"
#include "ui/QVUIManager.h"

QVUIManager* LoadUIManagerOrReport(const char* program)
{
    const char* fileName = GetUIManagerFileName();
    int status = QV_LOAD_FAILED;
    QVUIManager* manager = LoadModuleAs<QVUIManager>(GetModManager(), fileName, status);
    if (manager != nullptr)
        return manager;
    if (status == QV_LOAD_FAILED)
        ReportModuleNotLoaded(program, QVUIManager::ModuleType, fileName);
    else
        ReportWrongModuleType(program, QVUIManager::ModuleType, fileName);
    return nullptr;
}
