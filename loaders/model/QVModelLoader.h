#pragma once

#include "loaders/QVLoaderModule.h"

#include <string>

class QVSGMesh;

// The module of "qvmodelloader.qvm" (type "Object Loader"): reads glTF 2.0 (.gltf, .glb) and
// Wavefront OBJ (.obj with its .mtl) models into the mesh that owns the module collection it is
// handed. What is read of each format is GltfReader.h's and ObjReader.h's.
//
// After a successful Load the mesh holds the whole model flattened: vertices with positions,
// unit normals (computed where the file gives none) and texture coordinates (v up, as the
// renderers address images), triangles wound as the rest of the system winds them, and one face
// group per material in use. The materials themselves are the host's to make (a mesh does not
// own materials): sub-object i of the mesh describes face group i, its name the file of the base
// colour texture (empty when there is none; embedded images are written to temporary files) and
// its vector the base colour (red, green, blue, each 0 to 1; transparency is not handed on). A host makes a material of
// that colour for the group and hands the file to a QVImage, whose image loaders read it.
class QVModelLoader : public QVLoaderModule
{
public:
    // Name "Quarvo model file loader", platform "All", type "Object Loader", description
    // "glTF 2.0, Wavefront OBJ", extension "gltf" (CanLoad takes the others too).
    QVModelLoader();
    virtual ~QVModelLoader();

    using QVLoaderModule::CanLoad;
    using QVLoaderModule::Load;
    using QVLoaderModule::Save;

    // True for names ending in .gltf, .glb or .obj, in any case.
    bool CanLoad(const QVString& fileName) override;

    // Copies fileName into the module's file name and fills the mesh whose loader collection is
    // client. False, with the mesh unchanged and the reason printed on standard error and kept
    // for GetLastError, when client is not a mesh's collection or the file cannot be read or is
    // refused.
    bool Load(QVModCollection* client, const QVString& fileName) override;

    // Meshes are not written: false, and no file is touched.
    bool Save(QVModCollection* client, const QVString& fileName) override;

    // Why the last Load failed (empty after a success).
    const std::string& GetLastError() const { return m_lastError; }

private:
    std::string m_lastError;
};
