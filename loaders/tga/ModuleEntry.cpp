// The two entry points of "qvtgaloader.qvm".
#include "loaders/tga/QVTgaLoader.h"
#include "modules/ModuleExport.h"

QV_DEFINE_MODULE(QVTgaLoader)
