// The two entry points of "spinnerapplet.qvm".
#include "SpinnerApplet.h"
#include "modules/ModuleExport.h"

QV_DEFINE_MODULE(SpinnerApplet)
