#ifndef QV_PLATFORM_WEB_GL_TEXTURERECORD_H
#define QV_PLATFORM_WEB_GL_TEXTURERECORD_H

#include <GL/gl.h>

// What the layer remembers of a texture object: the base format WebGL holds it in (which decides
// how the texture environment combines it) and the sizes its images were scaled to.
struct TextureRecord
{
    GLenum baseFormat = GL_RGBA;  // GL_RGB, GL_RGBA, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_ALPHA
    int width = 0;                // of level 0 as WebGL holds it (a power of two when scaled)
    int height = 0;
    int sourceWidth = 0;  // of level 0 as it was given
    int sourceHeight = 0;
};

#endif
