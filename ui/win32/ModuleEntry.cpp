// The module library's two entry points.
#include "modules/ModuleExport.h"
#include "ui/win32/QVUIManagerW32.h"

QV_DEFINE_MODULE(QVUIManagerW32)
