#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class QVSGMesh;

// A model being read, kept apart from the host's mesh until it is complete, so that a file that
// fails halfway leaves the mesh as it was. Readers add vertices already placed by their node's
// transform, and triangles in the file's counter-clockwise winding; the mesh stores them the way
// the rest of the system winds them (clockwise seen from the front, as the 3D Studio loader and
// the renderers' front faces do).
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
    // What a face group is drawn with: the base colour factor and the base colour texture's file
    // (empty: none).
    struct Material
    {
        std::string texture;
        float colour[4];
    };

    // Adds a material and returns its number for AddTriangle. Material 0 always exists: opaque
    // white without texture, for triangles the file gives no material.
    ModelMesh();
    int AddMaterial(const Material& material);

    // Whether vertices and triangles more still fit the bounds of ModelLimits.h; if not, error
    // says so.
    bool Fits(std::size_t vertices, std::size_t triangles, std::string& error) const;

    // Appends a vertex and returns its number. Callers check Fits first.
    std::uint32_t AddVertex(const Vertex& vertex);
    // A counter-clockwise triangle of vertex numbers already added, drawn with material.
    void AddTriangle(int material, std::uint32_t a, std::uint32_t b, std::uint32_t c);

    std::size_t VertexCount() const { return m_vertices.size(); }
    std::size_t TriangleCount() const { return m_triangleCount; }

    // Fills the host's mesh: the vertices (vertices without a normal get the mean of the unit
    // normals of their triangles), one face group per material that has triangles, in material
    // order, and as many sub-objects, sub-object i describing group i (see QVModelLoader.h).
    // False, with error set and the mesh emptied, when memory runs out.
    bool CommitTo(QVSGMesh& mesh, std::string& error);

private:
    void ComputeMissingNormals();

    std::vector<Vertex> m_vertices;
    std::vector<Material> m_materials;
    std::vector<std::vector<std::int32_t>> m_groups;  // per material, three entries a triangle
    std::size_t m_triangleCount = 0;
};
