#ifndef QV_PLATFORM_QVGLU_H
#define QV_PLATFORM_QVGLU_H

// The platform's GLU declarations (mipmap building), after the GL ones that they need.
#include "gl/QVGL.h"

#include <GL/glu.h>

#endif
