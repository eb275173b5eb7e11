#include "loaders/3ds/QV3dsLoader.h"

#include "loaders/3ds/TdsMeshReader.h"
#include "loaders/QVFile.h"
#include "scene/QVSGMesh.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace
{
// Reads the file into memory, as far as its main chunk reaches: the header first, then the rest
// in one read. Files are read whole because the walk jumps from chunk to chunk; the buffer is
// bounded by the file's real size. Null (size 0) when the file cannot be opened, is shorter
// than a header, or memory is missing; a file that does not start with a main chunk returns its
// header alone, for the reader to refuse.
std::unique_ptr<unsigned char[]> ReadFile(const QVString& fileName, std::size_t& size)
{
    size = 0;
    QVFile file;
    if (!file.Open(fileName, "rb"))
    {
        return nullptr;
    }
    unsigned char header[tds::kHeaderSize];
    if (file.Read(header, static_cast<int>(sizeof header)) != static_cast<int>(sizeof header))
    {
        return nullptr;
    }
    const tds::Bytes headerBytes(header, sizeof header);
    long wanted = static_cast<long>(sizeof header);
    if (headerBytes.U16(0) == tds::MainChunk)
    {
        // Bytes past the main chunk belong to no chunk of the file and are not read.
        const unsigned long declared = headerBytes.U32(2);
        wanted = file.GetSize();
        if (declared < static_cast<unsigned long>(wanted))
        {
            wanted = static_cast<long>(declared < sizeof header ? sizeof header : declared);
        }
        if (wanted > INT_MAX)
        {
            wanted = INT_MAX;
        }
    }
    std::unique_ptr<unsigned char[]> data(
        new (std::nothrow) unsigned char[static_cast<std::size_t>(wanted)]);
    if (data == nullptr)
    {
        return nullptr;
    }
    std::memcpy(data.get(), header, sizeof header);
    const int rest = static_cast<int>(wanted) - static_cast<int>(sizeof header);
    const int got = rest > 0 ? file.Read(data.get() + sizeof header, rest) : 0;
    size = sizeof header + static_cast<std::size_t>(got);
    return data;
}
}  // namespace

QV3dsLoader::QV3dsLoader() : m_mesh(nullptr), m_lastHeader{0, 0}
{
    SetName(QVString("Quarvo 3ds file loader"));
    SetPlatform(QVString("All"));
    SetType(QVString("Object Loader"));
    SetDescription(QVString("3D Studio"));
    SetExtension(QVString("3ds"));
}

QV3dsLoader::~QV3dsLoader() = default;

bool QV3dsLoader::Load(QVModCollection* client, const QVString& fileName)
{
    SetFileName(fileName);
    QVSGMesh* mesh = QVSGMesh::FromModCollection(client);
    if (mesh == nullptr)
    {
        return false;
    }
    m_mesh = mesh;

    std::size_t size = 0;
    const std::unique_ptr<unsigned char[]> data = ReadFile(fileName, size);
    if (data == nullptr)
    {
        return false;
    }
    TdsMeshReader reader(data.get(), size);
    const bool parsed = reader.Read(*mesh);
    m_lastHeader = reader.GetLastHeader();
    if (parsed)
    {
        mesh->ComputeNormals();
    }
    return parsed;
}

bool QV3dsLoader::Save(QVModCollection* /*client*/, const QVString& /*fileName*/) { return false; }
