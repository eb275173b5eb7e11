#pragma once

#include "gl/webgl/FixedState.h"

// The one WebGL program that does what OpenGL 1.x's fixed pipeline does for the layer: transform,
// per-vertex (Gouraud) lighting with up to eight positional, directional or spot lights with
// attenuation, colour material, and one 2D texture combined by the texture environment.
// Attribute locations of the vertex stream (RecordedVertex).
enum FixedAttribute
{
    kPositionAttribute = 0,
    kColourAttribute = 1,
    kNormalAttribute = 2,
    kTexCoordAttribute = 3,
};

// Compiles the program once per context (false and a message on the console when WebGL refuses
// it), makes it current and loads the state into its uniforms.
bool UseFixedFunctionShader(FixedState& state);

// What every draw of the layer does first: makes the vertex stream's buffers once per context,
// then uses the program as above.
bool PrepareFixedFunctionDraw(FixedState& state);
