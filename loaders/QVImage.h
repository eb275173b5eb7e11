#pragma once

#include "core/containers/QVList.h"
#include "modules/QVModCollection.h"
#include "scene/QVSGAttribute.h"

#include <cstdint>

// Class code of QVImage, also the tag of its module collection.
const std::int32_t QV_CLASS_IMAGE = 0x4011;

// A picture held by the host: the pixels that image loader modules fill from files and that the
// OpenGL renderer turns into a texture. An attribute node with the image kind bit, so a material
// can point at it and a renderer can prepare it through InitHard.
//
// At construction the image gathers every module of type "Image Loader"; Load hands the file to
// them. Loaders receive the module collection part and convert it back with FromModCollection.
// Image, loaders and renderers are built separately: keep the member order.
//
// Pixels are stored rows bottom-up, left to right, with the bytes of a pixel in file order (blue,
// green, red, alpha for 24 and 32 bits; one byte for 8 bits).
class QVImage : public QVSGAttribute
{
public:
    // What kind of texture a renderer makes of the image.
    enum TextureKind : std::int32_t
    {
        Texture1D = 0,
        Texture2D = 1,
        Texture3D = 2,
        TextureCubeMap = 3
    };

    // Empty (0 x 0, no pixels), two-dimensional, no mipmaps; kind bits QVSG_KIND_ATTRIBUTE and
    // QVSG_KIND_LIGHT (the image bit); gathers the "Image Loader" modules.
    QVImage();
    // Frees the pixels and the owned objects. The renderer's texture (RendererSlot) must have
    // been released through ReleaseHard before.
    ~QVImage() override;

    // Hands the file to the collected loaders in collection order: true at the first whose
    // CanLoad accepts the name and whose Load succeeds; false when none does. A failed load
    // leaves the image unchanged.
    bool Load(const QVString& fileName);
    // Writes the image through the first collected loader that accepts the name and saves it.
    bool Save(const QVString& fileName);

    // Frees the pixels and the owned objects, stores the three values and allocates
    // ceil(width * height * bitsPerPixel / 8) bytes through the allocation hook (none when that
    // is 0). False, with the image left empty (0 x 0, no pixels), when the size cannot be
    // represented or memory is short.
    bool SetSize(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel);

    std::int32_t GetWidth() const { return m_width; }
    std::int32_t GetHeight() const { return m_height; }
    // The low 8 bits of the stored field.
    int GetBitsPerPixel() const { return m_bitsPerPixel & 0xFF; }
    std::uint8_t* GetPixels() { return m_pixels; }
    const std::uint8_t* GetPixels() const { return m_pixels; }
    std::int32_t GetByteSize() const { return m_byteSize; }

    std::int32_t GetTextureKind() const { return m_textureKind; }
    void SetTextureKind(std::int32_t kind) { m_textureKind = kind; }
    // 0: no mipmaps; anything else: the renderer builds them.
    std::int32_t GetMipmapMode() const { return m_mipmapMode; }
    void SetMipmapMode(std::int32_t mode) { m_mipmapMode = mode; }

    // Where a renderer keeps its texture for the image (null until prepared); owned by the
    // renderer.
    void*& RendererSlot() { return m_rendererSlot; }

    QVModCollection& GetLoaders() { return m_loaders; }
    // The image whose module collection part is client; null when client is null or belongs to
    // another kind of owner (a mesh, a property set), told by its tag.
    static QVImage* FromModCollection(QVModCollection* client);

private:
    void FreeContents();

    QVModCollection m_loaders;  // "Image Loader" modules; first after the attribute part
    std::int32_t m_textureKind;
    std::int32_t m_mipmapMode;
    std::int32_t m_width;
    std::int32_t m_height;
    std::int16_t m_bitsPerPixel;
    std::uint8_t* m_pixels;  // from the allocation hook; null when empty
    std::int32_t m_byteSize;
    void* m_rendererSlot;
    QVList<QVSGNode*> m_owned;  // further objects owned by the image, destroyed by SetSize
    std::intptr_t m_reserved;   // cleared by SetSize
};
