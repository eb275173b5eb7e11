#include "loaders/3ds/QV3dsLoader.h"

#include "loaders/3ds/TdsMeshReader.h"
#include "loaders/QVFile.h"
#include "scene/QVSGMesh.h"

#include <algorithm>
#include <climits>
#include <new>
#include <vector>

namespace
{
// Bytes read at least per step once the size learnt at open is used up.
const std::size_t kReadStep = 64 * 1024;

// Reads the file into memory, as far as its main chunk reaches: the header first, then the rest.
// Files are read whole because the walk jumps from chunk to chunk. The size learnt at open is
// only a first guess: a file may grow after it was opened, and files such as those of /proc read
// as size 0 yet yield bytes. So the buffer grows with the bytes really read and stays within
// twice what the file gave. Empty when the file cannot be opened, is shorter than a header, or
// memory is missing; a file that does not start with a main chunk gives its header alone, for
// the reader to refuse.
std::vector<unsigned char> ReadFile(const QVString& fileName)
{
    std::vector<unsigned char> data;
    QVFile file;
    if (!file.Open(fileName, "rb"))
    {
        return data;
    }
    try
    {
        data.resize(tds::kHeaderSize);
        if (file.Read(data.data(), static_cast<int>(data.size())) != static_cast<int>(data.size()))
        {
            return std::vector<unsigned char>();
        }
        const tds::Bytes header(data.data(), data.size());
        if (header.U16(0) != tds::MainChunk)
        {
            return data;
        }
        // Bytes past the main chunk belong to no chunk of the file and are not read.
        const std::size_t wanted =
            std::min<std::size_t>(std::max<std::size_t>(header.U32(2), data.size()), INT_MAX);
        // What the size learnt at open promises comes in one read (a count of 0 would mean "the
        // rest" to QVFile, so it is never asked for).
        const long sizeAtOpen = file.GetSize();
        std::size_t guess = sizeAtOpen > 0 ? static_cast<std::size_t>(sizeAtOpen) : 0;
        guess = std::min(std::max(guess, data.size()), wanted);
        if (guess > data.size())
        {
            const std::size_t had = data.size();
            data.resize(guess);
            const int got = file.Read(data.data() + had, static_cast<int>(guess - had));
            data.resize(had + static_cast<std::size_t>(got > 0 ? got : 0));
            if (data.size() < guess)
            {
                return data;  // the file ended early: nothing more to come
            }
        }
        // Whatever the file yields beyond that, in steps, appended as it arrives.
        std::vector<unsigned char> step;
        while (data.size() < wanted)
        {
            step.resize(kReadStep);
            const std::size_t ask = std::min(step.size(), wanted - data.size());
            const int got = file.Read(step.data(), static_cast<int>(ask));
            if (got <= 0)
            {
                break;
            }
            data.insert(data.end(), step.data(), step.data() + got);
        }
    }
    catch (const std::bad_alloc&)
    {
        return std::vector<unsigned char>();
    }
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

    const std::vector<unsigned char> data = ReadFile(fileName);
    if (data.empty())
    {
        return false;
    }
    TdsMeshReader reader(data.data(), data.size());
    const bool parsed = reader.Read(*mesh);
    m_lastHeader = reader.GetLastHeader();
    if (parsed)
    {
        mesh->ComputeNormals();
    }
    return parsed;
}

bool QV3dsLoader::Save(QVModCollection* /*client*/, const QVString& /*fileName*/) { return false; }
