// The two entry points of "qvmodelloader.qvm".
#include "loaders/model/QVModelLoader.h"
#include "modules/ModuleExport.h"

QV_DEFINE_MODULE(QVModelLoader)
