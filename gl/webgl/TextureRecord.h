#pragma once

#include <GL/gl.h>

// What the layer remembers of a texture object: the base format WebGL holds it in (which decides
// how the texture environment combines it), the sizes its images were scaled to, and the wrap and
// filter parameters. WebGL 1 repeats and mipmaps only textures whose sides are powers of two: a
// mipmapped texture of another size is scaled to one; one without mipmaps keeps its size (its
// pixels are then exactly the desktop's) and the fixed-function shader repeats its coordinates.
struct TextureRecord
{
    GLenum baseFormat = GL_RGBA;  // GL_RGB, GL_RGBA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_ALPHA
    int width = 0;                // of level 0 as WebGL holds it (a power of two when scaled)
    int height = 0;
    int sourceWidth = 0;  // of level 0 as it was given
    int sourceHeight = 0;
    GLenum wrapS = GL_REPEAT;
    GLenum wrapT = GL_REPEAT;
    GLenum minFilter = GL_NEAREST_MIPMAP_LINEAR;

    // Whether WebGL holds level 0 at a size that is no power of two (clamped to its edges).
    bool KeptOddSize() const { return (width & (width - 1)) != 0 || (height & (height - 1)) != 0; }
    bool UsesMipmaps() const { return minFilter != GL_NEAREST && minFilter != GL_LINEAR; }
};
