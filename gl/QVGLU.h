#pragma once

// The platform's GLU declarations (mipmap building), after the GL ones that they need.
#include "gl/QVGL.h"

#include <GL/glu.h>
