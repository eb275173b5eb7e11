#include "loaders/model/EmbeddedImage.h"

#include "platform/TempFile.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
// The files written so far, removed with the library.
class WrittenFiles
{
public:
    ~WrittenFiles()
    {
        for (const std::string& path : m_paths)
        {
            std::remove(path.c_str());
        }
    }
    void Add(const std::string& path) { m_paths.push_back(path); }

private:
    std::vector<std::string> m_paths;
};

WrittenFiles& Written()
{
    static WrittenFiles files;
    return files;
}

bool StartsWith(const unsigned char* data, std::size_t size, const char* magic)
{
    const std::size_t length = std::strlen(magic);
    return size >= length && std::memcmp(data, magic, length) == 0;
}

// The extension of the image's kind: the bytes decide, the MIME type only when they say nothing.
const char* ExtensionOf(const std::string& mimeType, const unsigned char* data, std::size_t size)
{
    if (StartsWith(data, size, "\x89PNG\r\n\x1a\n"))
        return ".png";
    if (StartsWith(data, size, "\xff\xd8\xff"))
        return ".jpg";
    if (StartsWith(data, size, "GIF8"))
        return ".gif";
    if (StartsWith(data, size, "BM"))
        return ".bmp";
    if (mimeType == "image/png")
        return ".png";
    if (mimeType == "image/jpeg")
        return ".jpg";
    return nullptr;
}
}  // namespace

std::string WriteEmbeddedImage(const std::string& mimeType, const unsigned char* data,
                               std::size_t size)
{
    const char* extension = ExtensionOf(mimeType, data, size);
    if (extension == nullptr || size == 0)
    {
        return std::string();
    }
    const std::string path = QVWriteTemporaryFile(extension, data, size);
    if (!path.empty())
    {
        Written().Add(path);
    }
    return path;
}
