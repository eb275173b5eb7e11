// The two entry points of "qv3dsloader.qvm".
#include "loaders/3ds/QV3dsLoader.h"
#include "modules/ModuleExport.h"

QV_DEFINE_MODULE(QV3dsLoader)
