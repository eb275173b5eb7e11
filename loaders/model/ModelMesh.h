#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class QVSGMesh;
struct QVVertex;

// Fills the host's mesh with a model in two passes, so that a refused file leaves the mesh as it
// was and nothing is staged twice: readers first walk the file to check it and Count what each
// part adds (refusals happen here), then Begin sizes the mesh's arrays once and they walk again
// adding exactly what they counted, which goes straight into the mesh. Vertices come already
// placed by their node's transform; triangles come in the file's counter-clockwise winding and
// are stored the way the rest of the system winds them (clockwise seen from the front, as the 3D
// Studio loader and the renderers' front faces do).
class ModelMesh
{
public:
    struct Vertex
    {
        double position[3];
        float normal[3];
        float uv[2];  // u to the right, v up, as the renderers address images (rows bottom-up)
        bool hasNormal;
    };
    // What a face group is drawn with: the base colour factor and the base colour texture, a
    // file (texture), or an image inside the model (embedded, written to a file by Begin; the
    // bytes must live until then).
    struct Material
    {
        std::string texture;
        float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};  // red, green, blue, alpha
        const unsigned char* embedded = nullptr;
        std::size_t embeddedSize = 0;
        std::string embeddedType;  // its MIME type, when the file says
    };

    // Material 0 always exists: opaque white without texture, for triangles without material.
    explicit ModelMesh(QVSGMesh& mesh);

    // Adds a material and returns its number.
    int AddMaterial(const Material& material);

    // First pass: a part of the model adds this many vertices, and triangles drawn with
    // material. False, with error set, when the model passes the bounds of ModelLimits.h.
    bool Count(int material, std::size_t vertices, std::size_t triangles, std::string& error);

    // Between the passes: sizes the mesh for what was counted, one face group per material with
    // triangles (in material order) and as many sub-objects describing them (QVModelLoader.h).
    // False, with error set and the mesh emptied, when memory runs out.
    bool Begin(std::string& error);

    // Second pass: exactly what was counted. AddVertex returns the vertex's number; AddTriangle
    // takes numbers of vertices already added.
    std::uint32_t AddVertex(const Vertex& vertex);
    void AddTriangle(int material, std::uint32_t a, std::uint32_t b, std::uint32_t c);
    std::size_t VertexCount() const { return m_added; }

    // After the second pass: vertices added without a normal get the mean of the unit normals of
    // their triangles (none when no triangle of theirs has a direction).
    void Finish();

private:
    QVSGMesh& m_mesh;
    std::vector<Material> m_materials;
    std::vector<std::size_t> m_triangles;  // per material: counted, then the group's cursor
    std::vector<std::size_t> m_groupOf;    // per material: its face group, once begun
    std::size_t m_vertexCount = 0;         // counted
    std::size_t m_triangleCount = 0;
    std::size_t m_added = 0;  // vertices added
    QVVertex* m_vertices = nullptr;
    std::int32_t* m_indices = nullptr;
    std::vector<bool> m_withoutNormal;
};
