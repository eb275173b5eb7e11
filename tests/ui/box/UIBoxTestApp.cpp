#include "tests/ui/box/UIBoxTestApp.h"

#include "modules/LoadModuleAs.h"
#include "ui/QVUIManager.h"

UIBoxTestApp uiBoxTestApplication;

int UIBoxTestApp::RunArgs(QVArray<QVString>& words)
{
    QVUIManager* manager = LoadModuleAs<QVUIManager>(GetModManager(), GetUIManagerFileName());
    if (manager == nullptr)
        return 100;
    QVString text("Box text");
    QVString caption("test box");
    QVString& kind = words[0];
    int result = 101;
    if (kind.Equals(QVString("yesno")))
        result = manager->AskYesNo(text, caption) ? 1 : 0;
    else if (kind.Equals(QVString("yesnocancel")))
        result = manager->AskYesNoCancel(text, caption);
    else if (kind.Equals(QVString("ok")))
        result = manager->ShowMessage(text, caption);
    GetModManager().ReleaseModule(manager);
    return result;
}
