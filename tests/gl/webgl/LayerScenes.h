#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QVRenderer;

// The pictures the web GL layer is compared on with a desktop OpenGL driver: the OpenGL
// renderer's TestFrame; a lit scene of textured meshes (a sphere with a mipmapped BGR texture
// under a positional light with specular highlights, a tilted quad with an 8-bit luminance
// texture of a size that is no power of two); the ray tracer's picture of the demo scene, which
// it draws as quad strips of vertex colours; OpenGL 1.x features beyond these
// (FixedFunctionScene.h). The same code draws them on both, through the
// renderer module, into a host window of width x height.
struct LayerScene
{
    const char* name;
    const char* module;  // the renderer module, by file name
    int width;
    int height;
    // Draws the picture with renderer (initialised on the window, its context current).
    void (*draw)(QVRenderer& renderer);
};

const std::vector<LayerScene>& LayerScenes();

// The frame as RGB bytes, rows from the top, read back with glReadPixels.
std::vector<std::uint8_t> ReadFrame(int width, int height);
