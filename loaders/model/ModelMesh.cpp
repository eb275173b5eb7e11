#include "loaders/model/ModelMesh.h"

#include "loaders/model/EmbeddedImage.h"
#include "loaders/model/ModelLimits.h"
#include "scene/QVSGMesh.h"

#include <cmath>
#include <new>

ModelMesh::ModelMesh(QVSGMesh& mesh) : m_mesh(mesh) { AddMaterial(Material()); }

int ModelMesh::AddMaterial(const Material& material)
{
    m_materials.push_back(material);
    m_triangles.push_back(0);
    return static_cast<int>(m_materials.size() - 1);
}

bool ModelMesh::Count(int material, std::size_t vertices, std::size_t triangles, std::string& error)
{
    if (vertices > model::kMaxVertices - m_vertexCount)
    {
        error = "more than " + std::to_string(model::kMaxVertices) + " vertices";
        return false;
    }
    if (triangles > model::kMaxTriangles - m_triangleCount)
    {
        error = "more than " + std::to_string(model::kMaxTriangles) + " triangles";
        return false;
    }
    m_vertexCount += vertices;
    m_triangleCount += triangles;
    m_triangles[static_cast<std::size_t>(material)] += triangles;
    return true;
}

bool ModelMesh::Begin(std::string& error)
{
    int groupCount = 0;
    for (std::size_t count : m_triangles)
    {
        groupCount += count > 0 ? 1 : 0;
    }
    bool ok = m_mesh.ResizeVertices(static_cast<int>(m_vertexCount)) &&
              m_mesh.ResizeIndices(static_cast<int>(3 * m_triangleCount)) &&
              m_mesh.ResizeFaceGroups(groupCount) && m_mesh.GetSubObjects().SetSize(groupCount);
    try
    {
        m_withoutNormal.assign(m_vertexCount, false);
    }
    catch (const std::bad_alloc&)
    {
        ok = false;
    }
    if (!ok)
    {
        m_mesh.ResizeVertices(0);
        m_mesh.ResizeIndices(0);
        m_mesh.ResizeFaceGroups(0);
        m_mesh.GetSubObjects().SetSize(0);
        error = "not enough memory for the mesh";
        return false;
    }
    m_vertices = m_mesh.GetVertexData();
    m_indices = m_mesh.GetIndexData();
    m_groupOf.assign(m_materials.size(), 0);
    std::size_t first = 0;
    int g = 0;
    for (std::size_t m = 0; m < m_materials.size(); ++m)
    {
        const std::size_t count = m_triangles[m];
        if (count == 0)
        {
            continue;
        }
        Material& material = m_materials[m];
        QVFaceGroup& group = m_mesh.GetFaceGroup(g);
        group.SetFirstIndex(static_cast<std::int32_t>(first));
        group.SetIndexCount(static_cast<std::int32_t>(3 * count));
        if (material.embedded != nullptr)
        {
            material.texture =
                WriteEmbeddedImage(material.embeddedType, material.embedded, material.embeddedSize);
        }
        QVSubObject& sub = m_mesh.GetSubObjects()[g];
        sub.name.Assign(material.texture.c_str());
        // The sub-object's vector keeps its three components: the colour's alpha is not handed on.
        sub.vector.Set(material.colour[0], material.colour[1], material.colour[2]);
        m_groupOf[m] = static_cast<std::size_t>(g);
        // From now on the group's cursor: where its next index goes.
        m_triangles[m] = first;
        first += 3 * count;
        ++g;
    }
    return true;
}

std::uint32_t ModelMesh::AddVertex(const Vertex& from)
{
    QVVertex& to = m_vertices[m_added];
    to.SetPosition(from.position[0], from.position[1], from.position[2]);
    to.SetNormal(from.normal[0], from.normal[1], from.normal[2]);
    to.SetUV(from.uv[0], from.uv[1]);
    m_withoutNormal[m_added] = !from.hasNormal;
    return static_cast<std::uint32_t>(m_added++);
}

void ModelMesh::AddTriangle(int material, std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    std::size_t& at = m_triangles[static_cast<std::size_t>(material)];
    // Reversed, as the system winds its triangles.
    m_indices[at] = static_cast<std::int32_t>(a);
    m_indices[at + 1] = static_cast<std::int32_t>(c);
    m_indices[at + 2] = static_cast<std::int32_t>(b);
    at += 3;
}

void ModelMesh::Finish()
{
    bool any = false;
    for (std::size_t i = 0; i < m_added && !any; ++i)
    {
        any = m_withoutNormal[i];
    }
    if (!any)
    {
        return;
    }
    std::vector<double> sums(3 * m_added, 0.0);
    const int indexCount = m_mesh.GetIndexCount();
    for (int k = 0; k + 2 < indexCount; k += 3)
    {
        // The mesh's rule on the stored winding: n = (P2 - P0) x (P1 - P0), unit length.
        const QVVertex& p0 = m_vertices[m_indices[k]];
        const QVVertex& p1 = m_vertices[m_indices[k + 1]];
        const QVVertex& p2 = m_vertices[m_indices[k + 2]];
        const double a[3] = {p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
        const double b[3] = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
        const double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                             a[0] * b[1] - a[1] * b[0]};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (!(length > 0.0) || !std::isfinite(length))
        {
            continue;  // no direction
        }
        for (int corner = 0; corner < 3; ++corner)
        {
            double* sum = &sums[3 * static_cast<std::size_t>(m_indices[k + corner])];
            for (int axis = 0; axis < 3; ++axis)
            {
                sum[axis] += n[axis] / length;
            }
        }
    }
    for (std::size_t i = 0; i < m_added; ++i)
    {
        const double* sum = &sums[3 * i];
        const double length = std::sqrt(sum[0] * sum[0] + sum[1] * sum[1] + sum[2] * sum[2]);
        if (m_withoutNormal[i] && length > 0.0 && std::isfinite(length))
        {
            m_vertices[i].SetNormal(static_cast<float>(sum[0] / length),
                                    static_cast<float>(sum[1] / length),
                                    static_cast<float>(sum[2] / length));
        }
    }
}
