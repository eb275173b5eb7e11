#include "renderers/opengl/QVTexture.h"

#include "gl/QVGLU.h"
#include "loaders/QVImage.h"
#include "renderers/opengl/GLConstants.h"

namespace
{
GLenum TargetOf(std::int32_t kind)
{
    switch (kind)
    {
    case QVImage::Texture1D:
        return GL_TEXTURE_1D;
    case QVImage::Texture3D:
        return QV_GL_TEXTURE_3D;
    case QVImage::TextureCubeMap:
        return QV_GL_TEXTURE_CUBE_MAP;
    default:
        return GL_TEXTURE_2D;  // also for kinds without a meaning, which get no image
    }
}

// Format of a pixel of the given size, all in 8-bit components. Two bytes are luminance with
// alpha in one byte each, so the upload reads exactly the image's bytes. Zero: no format.
GLenum FormatOf(int components)
{
    switch (components)
    {
    case 1:
        return GL_LUMINANCE;
    case 2:
        return GL_LUMINANCE_ALPHA;
    case 3:
        return QV_GL_BGR;
    case 4:
        return QV_GL_BGRA;
    default:
        return 0;
    }
}

// Whether the image's buffer holds width x height pixels of that many bytes.
bool HoldsPixels(const QVImage& image, int components)
{
    if (image.GetPixels() == nullptr || image.GetWidth() <= 0 || image.GetHeight() <= 0)
    {
        return false;
    }
    const std::int64_t needed = static_cast<std::int64_t>(image.GetWidth()) *
                                static_cast<std::int64_t>(image.GetHeight()) * components;
    return needed <= static_cast<std::int64_t>(image.GetByteSize());
}
}  // namespace

QVTexture::QVTexture() : name(0), target(GL_TEXTURE_2D) {}

QVTexture::~QVTexture() = default;

void QVTexture::Bind() { glBindTexture(target, name); }

bool QVTexture::Create(QVImage* image)
{
    if (image == nullptr)
    {
        return true;
    }
    target = TargetOf(image->GetTextureKind());
    GLuint generated = 0;
    glGenTextures(1, &generated);
    name = generated;
    Bind();

    const int components = image->GetBitsPerPixel() / 8;
    const GLenum format = FormatOf(components);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (image->GetTextureKind() != QVImage::Texture2D || format == 0 ||
        !HoldsPixels(*image, components))
    {
        return true;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    if (image->GetMipmapMode() == 0)
    {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, components, image->GetWidth(), image->GetHeight(), 0, format,
                     GL_UNSIGNED_BYTE, image->GetPixels());
    }
    else
    {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, image->GetWidth(), image->GetHeight(), format,
                          GL_UNSIGNED_BYTE, image->GetPixels());
    }
    return true;
}

void QVTexture::Release() {}
