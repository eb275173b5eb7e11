// The two entry points of "qvproploader.qvm".
#include "loaders/props/QVPropLoader.h"
#include "modules/ModuleExport.h"

QV_DEFINE_MODULE(QVPropLoader)
