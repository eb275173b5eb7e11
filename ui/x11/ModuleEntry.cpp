// The module library's two entry points.
#include "modules/ModuleExport.h"
#include "ui/x11/QVUIManagerX11.h"

QV_DEFINE_MODULE(QVUIManagerX11)
