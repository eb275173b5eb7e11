// The module's two entry points.
#include "modules/ModuleExport.h"
#include "renderers/raytracer/QVRaytracer.h"

QV_DEFINE_MODULE(QVRaytracer)
