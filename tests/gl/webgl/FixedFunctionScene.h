#pragma once

class QVRenderer;

// OpenGL 1.x features the renderers' own pictures do not reach, drawn with plain GL calls in
// renderer's context: three lights (positional with attenuation, directional, spot), colour
// material with a colour given once for several vertices and a normal given outside glBegin,
// quads, a quad strip, a flat-shaded fan, a polygon, line loops and points, and a BGRA texture
// with alpha blended over the rest under the replace environment, inside attribute pushes.
void DrawFixedFunctionFeatures(QVRenderer& renderer);
