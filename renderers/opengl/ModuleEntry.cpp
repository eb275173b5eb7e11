// The module's two entry points.
#include "modules/ModuleExport.h"
#include "renderers/opengl/QVGLRenderer.h"

QV_DEFINE_MODULE(QVGLRenderer)
