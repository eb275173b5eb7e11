#pragma once

#include <cstdint>

class QVImage;

// The OpenGL texture the renderer makes for an image node and keeps in the image's renderer
// slot. Needs the renderer's context current. The texture name is never deleted: it lives as
// long as the context.
class QVTexture
{
public:
    QVTexture();
    virtual ~QVTexture();

    // Binds the texture to its target.
    virtual void Bind();
    // Makes a texture name of the image's kind (1D, 2D, 3D, cube map) and, for a 2D image, uploads
    // its pixels: 1, 2, 3 or 4 bytes per pixel as luminance, luminance with alpha, BGR or BGRA,
    // with linear filtering, or through mipmaps built by GLU when the image asks for them. Other
    // kinds, other pixel sizes and images whose buffer is smaller than their size keep an empty
    // texture. Returns true.
    virtual bool Create(QVImage* image);
    // Does nothing.
    virtual void Release();

    std::uint32_t GetName() const { return name; }
    std::uint32_t GetTarget() const { return target; }

private:
    std::uint32_t name;    // from glGenTextures
    std::uint32_t target;  // GL_TEXTURE_1D, GL_TEXTURE_2D, ...
};
