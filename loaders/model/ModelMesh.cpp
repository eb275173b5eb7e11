#include "loaders/model/ModelMesh.h"

#include "loaders/model/ModelLimits.h"
#include "scene/QVSGMesh.h"

#include <algorithm>
#include <cmath>

ModelMesh::ModelMesh() { AddMaterial(Material{std::string(), {1.0f, 1.0f, 1.0f, 1.0f}}); }

int ModelMesh::AddMaterial(const Material& material)
{
    m_materials.push_back(material);
    m_groups.emplace_back();
    return static_cast<int>(m_materials.size() - 1);
}

bool ModelMesh::Fits(std::size_t vertices, std::size_t triangles, std::string& error) const
{
    if (vertices > model::kMaxVertices - m_vertices.size())
    {
        error = "more than " + std::to_string(model::kMaxVertices) + " vertices";
        return false;
    }
    if (triangles > model::kMaxTriangles - m_triangleCount)
    {
        error = "more than " + std::to_string(model::kMaxTriangles) + " triangles";
        return false;
    }
    return true;
}

std::uint32_t ModelMesh::AddVertex(const Vertex& vertex)
{
    m_vertices.push_back(vertex);
    return static_cast<std::uint32_t>(m_vertices.size() - 1);
}

void ModelMesh::AddTriangle(int material, std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    std::vector<std::int32_t>& group = m_groups[static_cast<std::size_t>(material)];
    // Reversed, as the system winds its triangles.
    group.push_back(static_cast<std::int32_t>(a));
    group.push_back(static_cast<std::int32_t>(c));
    group.push_back(static_cast<std::int32_t>(b));
    ++m_triangleCount;
}

void ModelMesh::ComputeMissingNormals()
{
    std::vector<double> sums;
    for (const Vertex& vertex : m_vertices)
    {
        if (!vertex.hasNormal)
        {
            sums.assign(3 * m_vertices.size(), 0.0);
            break;
        }
    }
    if (sums.empty())
    {
        return;
    }
    for (const std::vector<std::int32_t>& group : m_groups)
    {
        for (std::size_t k = 0; k + 2 < group.size(); k += 3)
        {
            // The mesh's rule on the stored winding: n = (P2 - P0) x (P1 - P0), unit length.
            const double* p0 = m_vertices[static_cast<std::size_t>(group[k])].position;
            const double* p1 = m_vertices[static_cast<std::size_t>(group[k + 1])].position;
            const double* p2 = m_vertices[static_cast<std::size_t>(group[k + 2])].position;
            const double a[3] = {p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
            const double b[3] = {p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
            double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                           a[0] * b[1] - a[1] * b[0]};
            const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            if (!(length > 0.0) || !std::isfinite(length))
            {
                continue;  // no direction
            }
            for (std::size_t corner = 0; corner < 3; ++corner)
            {
                double* sum = &sums[3 * static_cast<std::size_t>(group[k + corner])];
                for (int axis = 0; axis < 3; ++axis)
                {
                    sum[axis] += n[axis] / length;
                }
            }
        }
    }
    for (std::size_t i = 0; i < m_vertices.size(); ++i)
    {
        Vertex& vertex = m_vertices[i];
        const double* sum = &sums[3 * i];
        const double length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        if (vertex.hasNormal || !(length > 0.0))
        {
            continue;
        }
        for (int axis = 0; axis < 3; ++axis)
        {
            vertex.normal[axis] = static_cast<float>(sum[axis] / length);
        }
    }
}

bool ModelMesh::CommitTo(QVSGMesh& mesh, std::string& error)
{
    ComputeMissingNormals();
    int groupCount = 0;
    for (const std::vector<std::int32_t>& group : m_groups)
    {
        groupCount += group.empty() ? 0 : 1;
    }
    const int vertexCount = static_cast<int>(m_vertices.size());
    const int indexCount = static_cast<int>(3 * m_triangleCount);
    if (!mesh.ResizeVertices(vertexCount) || !mesh.ResizeIndices(indexCount) ||
        !mesh.ResizeFaceGroups(groupCount) || !mesh.GetSubObjects().SetSize(groupCount))
    {
        mesh.ResizeVertices(0);
        mesh.ResizeIndices(0);
        mesh.ResizeFaceGroups(0);
        mesh.GetSubObjects().SetSize(0);
        error = "not enough memory for the mesh";
        return false;
    }
    QVVertex* vertices = mesh.GetVertexData();
    for (int i = 0; i < vertexCount; ++i)
    {
        const Vertex& from = m_vertices[static_cast<std::size_t>(i)];
        vertices[i].SetPosition(from.position[0], from.position[1], from.position[2]);
        vertices[i].SetNormal(from.normal[0], from.normal[1], from.normal[2]);
        vertices[i].SetUV(from.uv[0], from.uv[1]);
    }
    std::int32_t* indices = mesh.GetIndexData();
    int first = 0;
    int g = 0;
    for (std::size_t m = 0; m < m_groups.size(); ++m)
    {
        const std::vector<std::int32_t>& group = m_groups[m];
        if (group.empty())
        {
            continue;
        }
        std::copy(group.begin(), group.end(), indices + first);
        QVFaceGroup& faceGroup = mesh.GetFaceGroup(g);
        faceGroup.SetFirstIndex(first);
        faceGroup.SetIndexCount(static_cast<std::int32_t>(group.size()));
        QVSubObject& sub = mesh.GetSubObjects()[g];
        sub.name.Assign(m_materials[m].texture.c_str());
        // The sub-object's vector keeps its three components: the colour's alpha is not handed on.
        sub.vector.Set(m_materials[m].colour[0], m_materials[m].colour[1],
                       m_materials[m].colour[2]);
        first += static_cast<int>(group.size());
        ++g;
    }
    return true;
}
