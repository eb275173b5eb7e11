#include "loaders/3ds/TdsMeshReader.h"

#include "scene/QVSGMesh.h"

#include <cstdint>

using tds::Chunk;

TdsMeshReader::TdsMeshReader(const unsigned char* data, std::size_t size)
    : m_bytes(data, size), m_last{0, 0}
{
}

bool TdsMeshReader::Read(QVSGMesh& mesh)
{
    if (m_bytes.Size() < tds::kHeaderSize || m_bytes.U16(0) != tds::MainChunk)
    {
        return false;
    }
    m_last = {tds::MainChunk, m_bytes.U32(2)};
    // The main chunk's length bounds its walk like any parent's; a file cut short ends it
    // earlier. The keyframer chunk is not interpreted; other chunks are skipped.
    tds::ForEachSubChunk(m_bytes, tds::kHeaderSize, m_last.length, m_last,
                         [&](const Chunk& chunk)
                         {
                             if (chunk.header.id == tds::EditorChunk)
                             {
                                 WalkEditor(chunk, mesh);
                             }
                         });
    return true;
}

void TdsMeshReader::WalkEditor(const Chunk& editor, QVSGMesh& mesh)
{
    tds::ForEachSubChunk(m_bytes, editor.dataBegin, editor.end, m_last,
                         [&](const Chunk& chunk)
                         {
                             if (chunk.header.id == tds::ObjectBlock)
                             {
                                 ReadObject(chunk, mesh);
                             }
                         });
}

void TdsMeshReader::ReadObject(const Chunk& object, QVSGMesh& mesh)
{
    // The object's name runs up to its zero byte; its sub-chunks follow.
    const std::size_t end = m_bytes.Clip(object.end);
    std::size_t at = object.dataBegin;
    while (at < end && m_bytes.Byte(at) != 0)
    {
        ++at;
    }
    if (at >= end)
    {
        return;
    }
    ++at;
    // Only a first sub-chunk that is a triangle mesh makes the object a mesh object (lights and
    // cameras come first in theirs); further sub-chunks are skipped.
    Chunk first;
    const tds::Bytes::HeaderResult found = m_bytes.ChunkAt(at, object.end, first);
    if (found == tds::Bytes::NoHeader)
    {
        return;
    }
    m_last = first.header;
    if (found == tds::Bytes::ChunkFound && first.header.id == tds::TriangleMesh)
    {
        ReadTriangleMesh(first, mesh);
    }
}

void TdsMeshReader::ReadTriangleMesh(const Chunk& triangles, QVSGMesh& mesh)
{
    // The lists are only located during the walk and read once it is over, when all of them are
    // known: faces can then be checked against the vertex count whatever order the file uses.
    RecordList vertices{0, 0};
    RecordList faces{0, 0};
    RecordList pairs{0, 0};
    tds::ForEachSubChunk(m_bytes, triangles.dataBegin, triangles.end, m_last,
                         [&](const Chunk& chunk)
                         {
                             switch (chunk.header.id)
                             {
                             case tds::VertexList:
                                 vertices = ListIn(chunk, tds::kVertexSize);
                                 break;
                             case tds::FaceList:
                                 // Its own sub-chunks (material and smoothing groups) follow the
                                 // faces and are not read.
                                 faces = ListIn(chunk, tds::kFaceSize);
                                 break;
                             case tds::TextureCoordinates:
                                 pairs = ListIn(chunk, tds::kTexturePairSize);
                                 break;
                             default:
                                 break;
                             }
                         });
    FillMesh(vertices, faces, pairs, mesh);
}

TdsMeshReader::RecordList TdsMeshReader::ListIn(const Chunk& chunk, std::size_t recordSize) const
{
    const std::size_t end = m_bytes.Clip(chunk.end);
    if (end - chunk.dataBegin < tds::kCountSize)
    {
        return {0, 0};
    }
    const std::size_t first = chunk.dataBegin + tds::kCountSize;
    const std::size_t declared = m_bytes.U16(chunk.dataBegin);
    const std::size_t room = (end - first) / recordSize;
    return {first, declared < room ? declared : room};
}

void TdsMeshReader::FillMesh(const RecordList& vertices, const RecordList& faces,
                             const RecordList& pairs, QVSGMesh& mesh) const
{
    // Counts are at most 65,535, so the sizes below fit an int. A resize that fails for want of
    // memory leaves its array empty, which the counts then follow.
    mesh.ResizeFaceGroups(1);
    const int vertexCount =
        mesh.ResizeVertices(static_cast<int>(vertices.count)) ? mesh.GetVertexCount() : 0;
    QVVertex* vertex = mesh.GetVertexData();
    for (int i = 0; i < vertexCount; ++i)
    {
        const std::size_t at = vertices.first + static_cast<std::size_t>(i) * tds::kVertexSize;
        vertex[i].SetPosition(m_bytes.F32(at), m_bytes.F32(at + 4), m_bytes.F32(at + 8));
    }
    const int pairCount =
        static_cast<int>(pairs.count) < vertexCount ? static_cast<int>(pairs.count) : vertexCount;
    for (int i = 0; i < pairCount; ++i)
    {
        const std::size_t at = pairs.first + static_cast<std::size_t>(i) * tds::kTexturePairSize;
        vertex[i].SetUV(m_bytes.F32(at + 4), m_bytes.F32(at));
    }

    // Faces naming a vertex the mesh does not have are dropped: nothing that reads the mesh
    // later must index past its vertices.
    const auto valid = [&](std::size_t at)
    {
        return m_bytes.U16(at) < vertexCount && m_bytes.U16(at + 2) < vertexCount &&
               m_bytes.U16(at + 4) < vertexCount;
    };
    int kept = 0;
    for (std::size_t f = 0; f < faces.count; ++f)
    {
        kept += valid(faces.first + f * tds::kFaceSize) ? 1 : 0;
    }
    if (!mesh.ResizeIndices(3 * kept))
    {
        kept = 0;
    }
    std::int32_t* index = mesh.GetIndexData();
    for (std::size_t f = 0, p = 0; f < faces.count && kept > 0; ++f)
    {
        const std::size_t at = faces.first + f * tds::kFaceSize;
        if (valid(at))
        {
            index[p] = m_bytes.U16(at);
            index[p + 1] = m_bytes.U16(at + 4);
            index[p + 2] = m_bytes.U16(at + 2);
            p += 3;
        }
    }
    if (mesh.GetFaceGroupCount() == 1)
    {
        QVFaceGroup& group = mesh.GetFaceGroup(0);
        group.SetFirstIndex(0);
        group.SetIndexCount(3 * kept);
    }
}
