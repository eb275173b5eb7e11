#pragma once

#include "gl/webgl/FixedState.h"

// Draws the vertices glBegin/glEnd recorded as the OpenGL mode with the fixed-function program
// and the current state: one vertex buffer upload, then one draw (or a few, for more vertices
// than 16-bit indices reach).
void DrawRecorded(GLenum mode, const std::vector<RecordedVertex>& vertices);
