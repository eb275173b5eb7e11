#include "loaders/QVImage.h"

#include "loaders/QVLoaderModule.h"
#include "modules/QVAllocHook.h"
#include "scene/QVSGKind.h"

#include <cstddef>
#include <limits>
#include <new>

namespace
{

const char kLoaderType[] = "Image Loader";

QVLoaderModule* LoaderAt(QVModCollection& loaders, unsigned index)
{
    return static_cast<QVLoaderModule*>(loaders.GetAt(index));
}

}  // namespace

QVImage::QVImage()
    : m_loaders(QV_CLASS_IMAGE, kLoaderType), m_textureKind(Texture2D), m_mipmapMode(0), m_width(0),
      m_height(0), m_bitsPerPixel(0), m_pixels(nullptr), m_byteSize(0), m_rendererSlot(nullptr),
      m_reserved(0)
{
    ClassId = QV_CLASS_IMAGE;
    AddKindFlags(QVSG_KIND_LIGHT);
}

QVImage::~QVImage() { FreeContents(); }

bool QVImage::Load(const QVString& fileName)
{
    for (unsigned i = 0; i < m_loaders.GetCount(); ++i)
    {
        QVLoaderModule* loader = LoaderAt(m_loaders, i);
        if (loader->CanLoad(fileName) && loader->Load(&m_loaders, fileName))
            return true;
    }
    return false;
}

bool QVImage::Save(const QVString& fileName)
{
    for (unsigned i = 0; i < m_loaders.GetCount(); ++i)
    {
        QVLoaderModule* loader = LoaderAt(m_loaders, i);
        if (loader->CanLoad(fileName) && loader->Save(&m_loaders, fileName))
            return true;
    }
    return false;
}

bool QVImage::SetSize(std::int32_t width, std::int32_t height, std::int32_t bitsPerPixel)
{
    FreeContents();
    m_width = 0;
    m_height = 0;
    m_bitsPerPixel = 0;
    m_reserved = 0;
    if (width < 0 || height < 0 || bitsPerPixel < 0 || bitsPerPixel > 0x7FFF)
        return false;

    // width * height * bits can need 77 bits; the byte count must fit the hook's int.
    const std::uint64_t pixels =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    if (bitsPerPixel != 0 && pixels > (limit * 8) / static_cast<std::uint64_t>(bitsPerPixel))
        return false;
    const std::uint64_t bytes = (pixels * static_cast<std::uint64_t>(bitsPerPixel) + 7) / 8;
    if (bytes != 0)
    {
        void* block = nullptr;
        GetAllocHook().Allocate(&block, static_cast<int>(bytes));
        if (block == nullptr)
            return false;
        m_pixels = static_cast<std::uint8_t*>(block);
        m_byteSize = static_cast<std::int32_t>(bytes);
    }
    m_width = width;
    m_height = height;
    m_bitsPerPixel = static_cast<std::int16_t>(bitsPerPixel);
    return true;
}

QVImage* QVImage::FromModCollection(QVModCollection* client)
{
    if (client == nullptr || client->GetTag() != QV_CLASS_IMAGE)
        return nullptr;
        // The class is not standard-layout (it has virtual functions), but it has single,
        // non-virtual inheritance only, where offsetof keeps its plain meaning with our compilers.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#endif
    const std::size_t offset = offsetof(QVImage, m_loaders);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return reinterpret_cast<QVImage*>(reinterpret_cast<char*>(client) - offset);
}

void QVImage::FreeContents()
{
    void* block = m_pixels;
    GetAllocHook().Free(&block);
    m_pixels = nullptr;
    m_byteSize = 0;
    for (unsigned i = 0; i < m_owned.GetCount(); ++i)
        delete m_owned[i];
    // The list has no operation that removes every element; it is rebuilt in place.
    m_owned.~QVList<QVSGNode*>();
    ::new (&m_owned) QVList<QVSGNode*>();
}
