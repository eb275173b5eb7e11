#include "plugin/AppletModule.h"

#include "modules/QVModManager.h"
#include "modules/RunTimePath.h"

QVApplet* LoadAppletModule(const char* fileName)
{
    std::string failure;
    return LoadAppletModule(fileName, failure);
}

QVApplet* LoadAppletModule(const char* fileName, std::string& failure)
{
    failure.clear();
    if (fileName == nullptr || *fileName == '\0')
    {
        failure = "no applet module was named";
        return nullptr;
    }
    int status = QV_LOAD_FAILED;
    QVModule* module = GetModManager().LoadModule(fileName, status);
    if (module == nullptr)
    {
        // Either no library loads under that name, or one does and makes no module.
        QVHandle library = LoadDynLibrary(fileName);
        if (library == nullptr)
            failure = DescribeLibraryFailure(fileName);
        else
            failure = std::string(fileName) +
                      " is a library but no module library: it does not export CreateMod "
                      "(declare the applet's class with QV_DEFINE_MODULE)";
        FreeDynLibrary(library);
        return nullptr;
    }
    if (!module->GetType().Equals(QVString(QVApplet::ModuleType)))
    {
        QVString type(module->GetType());
        type.SetEncoding(QVString::Narrow);
        failure = std::string(fileName) + " is a module of the type \"" +
                  (type.GetBuffer() != nullptr ? type.GetBuffer() : "") +
                  "\", not an applet (an applet's module class derives from QVApplet)";
        // Whoever loaded it before keeps it.
        if (status == QV_LOAD_NEW)
            GetModManager().ReleaseModule(module);
        return nullptr;
    }
    return static_cast<QVApplet*>(module);
}
