#pragma once

#include "loaders/3ds/TdsChunks.h"
#include "loaders/QVLoaderModule.h"

class QVSGMesh;

// The module of "qv3dsloader.qvm" (type "Object Loader"): reads the triangle mesh of a 3D Studio
// file into the mesh that owns the module collection it is handed. What it reads of the file, and
// how it treats damaged files, is TdsMeshReader's; after a read the mesh's vertex normals are
// computed (ComputeNormals).
class QV3dsLoader : public QVLoaderModule
{
public:
    // Name "Quarvo 3ds file loader", platform "All", type "Object Loader", description
    // "3D Studio", extension "3ds"; the file name stays empty.
    QV3dsLoader();
    virtual ~QV3dsLoader();

    using QVLoaderModule::Load;
    using QVLoaderModule::Save;

    // Copies fileName into the module's file name, then fills the mesh whose loader collection is
    // client from the file and computes its normals. False, with the mesh unchanged, when client
    // is not a mesh's collection, the file cannot be read or does not start with a main chunk;
    // true for every file that does, however much of it was usable.
    bool Load(QVModCollection* client, const QVString& fileName) override;

    // Meshes are not written: false, and no file is touched.
    bool Save(QVModCollection* client, const QVString& fileName) override;

    // The mesh of the last Load (null before), and the header of the chunk it read last.
    QVSGMesh* GetMesh() const { return m_mesh; }
    const tds::ChunkHeader& GetLastHeader() const { return m_lastHeader; }

private:
    QVSGMesh* m_mesh;  // not owned
    tds::ChunkHeader m_lastHeader;
};
