#include "plugin/AppletModule.h"

#include "modules/QVModManager.h"

QVApplet* LoadAppletModule(const char* fileName)
{
    if (fileName == nullptr || *fileName == '\0')
        return nullptr;
    int status = QV_LOAD_FAILED;
    QVModule* module = GetModManager().LoadModule(fileName, status);
    if (module == nullptr)
        return nullptr;
    if (!module->GetType().Equals(QVString(QVApplet::ModuleType)))
    {
        // Whoever loaded it before keeps it.
        if (status == QV_LOAD_NEW)
            GetModManager().ReleaseModule(module);
        return nullptr;
    }
    return static_cast<QVApplet*>(module);
}
