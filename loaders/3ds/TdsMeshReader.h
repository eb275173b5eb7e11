#pragma once

#include "loaders/3ds/TdsChunks.h"

#include <cstddef>

class QVSGMesh;

// Reads the geometry of a 3D Studio file, held in memory, into a mesh.
//
// The file must start with a main chunk (0x4D4D). Its editor chunk (0x3D3D) is walked for object
// blocks (0x4000); an object block whose first sub-chunk is a triangle mesh (0x4100) fills the
// mesh, and every triangle mesh replaces what an earlier one filled, so the mesh ends with the
// file's last one. Everything else (materials, lights, cameras, keyframer data, object names,
// smoothing groups, local axes) is skipped by its length.
//
// A triangle mesh becomes one face group over every index: vertex positions in file order (as
// doubles), each face (a, b, c) stored as (a, c, b), so the winding is reversed, and texture
// coordinate pairs stored exchanged (u the second number, v the first).
//
// The file is hostile input. Every walk stays inside its parent chunk; a chunk with a length below
// its header's 6 bytes or reaching past its parent's end ends the walk of that parent. A list
// reads only the records that its chunk holds, whatever its count says, so what is allocated is
// bounded by the file. Faces naming a vertex that the mesh does not have are dropped, whichever of
// the lists comes first in the file, and texture coordinates only reach existing vertices. A file
// cut short loads with the records that were complete.
class TdsMeshReader
{
public:
    // The bytes stay the caller's and must live as long as the reader.
    TdsMeshReader(const unsigned char* data, std::size_t size);

    // Fills mesh as described above. False, with the mesh untouched, when the bytes do not start
    // with a main chunk header; true otherwise, whatever the later chunks hold. Normals are left
    // to the caller.
    bool Read(QVSGMesh& mesh);

    // The header of the chunk read last (zero before a read).
    const tds::ChunkHeader& GetLastHeader() const { return m_last; }

private:
    // The records of a list chunk that are really there: at most its count, at most what fits.
    struct RecordList
    {
        std::size_t first;  // offset of the first record
        std::size_t count;
    };

    RecordList ListIn(const tds::Chunk& chunk, std::size_t recordSize) const;
    void WalkEditor(const tds::Chunk& editor, QVSGMesh& mesh);
    void ReadObject(const tds::Chunk& object, QVSGMesh& mesh);
    void ReadTriangleMesh(const tds::Chunk& triangles, QVSGMesh& mesh);
    void FillMesh(const RecordList& vertices, const RecordList& faces, const RecordList& pairs,
                  QVSGMesh& mesh) const;

    tds::Bytes m_bytes;
    tds::ChunkHeader m_last;
};
