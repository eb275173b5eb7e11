#pragma once

// The GLSL ES 1.00 sources of the fixed-function program. The lighting follows OpenGL 1.x's
// equation term by term (as Mesa evaluates it), so the pixels match a desktop driver's. They are
// compiled after two definitions: LIGHT_COUNT, the lights the vertex shader looks at (those from
// 0 up to the last one switched on), and TEXTURING, whether the fragment shader samples.
namespace FixedFunctionShaderSource
{
extern const char* const kVertex;
extern const char* const kFragment;
}  // namespace FixedFunctionShaderSource
