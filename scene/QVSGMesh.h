#pragma once

#include "core/containers/QVArray.h"
#include "core/math/QVVector.h"
#include "modules/QVModCollection.h"
#include "scene/QVFaceGroup.h"
#include "scene/QVSGTransform.h"
#include "scene/QVSubObject.h"
#include "scene/QVVertex.h"

#include <cstdint>

class QVSGMaterial;

// The one geometry node: an indexed triangle mesh split into face groups, each drawn with one
// material. Builders (sphere, box) and the 3DS loader module fill it; renderers walk its arrays in
// place. The mesh owns its records and groups, not the materials they point to.
//
// Building a mesh gathers the "Object Loader" modules: the module manager scans the working and
// runtime directories at construction. An object loader is handed the collection and finds the
// mesh from it, so the collection stays the first member after the transform part.
class QVSGMesh : public QVSGTransform
{
public:
    // Empty arrays, reference point (0, 0, 0), kind bit QVSG_KIND_MESH; collection tag
    // QVSG_CLASS_MESH.
    QVSGMesh();
    ~QVSGMesh() override;

    // Slot 11. Smooth vertex normals, accumulated on top of the stored ones: each triangle of
    // each group adds its unit face normal (P2 - P0) x (P1 - P0) to its three vertices, then every
    // normal is scaled to length 1. Triangles without a direction (a zero-length edge or
    // collinear corners, judged at single precision) and triangles naming vertices outside the
    // array add nothing; a zero normal stays zero.
    virtual void ComputeNormals();

    // Binds material to group number `group`, or to every group with `all`; false (nothing
    // changes) when group is not below the group count. A mesh without groups gets one group
    // spanning every index, whatever number is passed. The material is not owned.
    bool SetMaterial(QVSGMaterial* material, int group, bool all);

    // Counts and direct access for loaders and renderers; arrays are owned by the mesh.
    int GetVertexCount() const { return vertices.GetSize(); }
    int GetIndexCount() const { return indices.GetSize(); }
    int GetFaceGroupCount() const { return faceGroups.GetSize(); }
    // First element, or null when empty.
    QVVertex* GetVertexData() { return vertices.GetSize() > 0 ? &vertices[0] : nullptr; }
    std::int32_t* GetIndexData() { return indices.GetSize() > 0 ? &indices[0] : nullptr; }
    // Vertex i. Throws QVException ("QVArray", "operator []", "index out of bounds") when out
    // of range; the same for the accessors below.
    QVVertex& GetVertex(int i) { return vertices[i]; }
    std::int32_t& GetIndex(int i) { return indices[i]; }
    QVFaceGroup& GetFaceGroup(int i) { return faceGroups[i]; }
    QVArray<QVSubObject>& GetSubObjects() { return subObjects; }

    // Replace the array by n fresh elements (vertices zeroed, indices uninitialised). False (the
    // array empty) when memory is not available.
    bool ResizeVertices(int n) { return vertices.SetSize(n); }
    bool ResizeIndices(int n) { return indices.SetSize(n); }
    bool ResizeFaceGroups(int n) { return faceGroups.SetSize(n); }

    QVModCollection& GetLoaders() { return loaders; }
    // The mesh whose loader collection is client: an object loader gets the collection and finds
    // the mesh it fills this way. Null when client is null or its tag is not that of a mesh
    // (QVSG_CLASS_MESH, or QVSG_CLASS_SPHERE or QVSG_CLASS_BOX of the subclasses), so the
    // collection of an image, a property set or a world is never taken for a mesh.
    static QVSGMesh* FromModCollection(QVModCollection* client);
    QVVector& GetReferencePoint() { return referencePoint; }
    // Slot 0 or 1 where a renderer that binds the mesh keeps its own records (null until then);
    // the renderer owns what it puts there.
    void*& RendererData(int i) { return rendererData[i & 1]; }

private:
    QVModCollection loaders;  // "Object Loader" modules; first after the transform
    void* rendererData[2];
    QVArray<QVVertex> vertices;       // shared vertex pool
    QVArray<std::int32_t> indices;    // three entries per triangle
    QVArray<QVFaceGroup> faceGroups;  // each covers a run of indices
    QVArray<QVSubObject> subObjects;  // filled by loaders
    QVVector referencePoint;          // dimension 3
};
