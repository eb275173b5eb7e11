// The two entry points of "qvimgloader.qvm".
#include "loaders/image/QVImgLoader.h"
#include "modules/ModuleExport.h"

QV_DEFINE_MODULE(QVImgLoader)
