// The module library's two entry points.
#include "modules/ModuleExport.h"
#include "ui/web/QVUIManagerWeb.h"

QV_DEFINE_MODULE(QVUIManagerWeb)
