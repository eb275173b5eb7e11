#include "loaders/model/ObjReader.h"

#include "loaders/model/ModelFolder.h"
#include "loaders/model/ModelMesh.h"
#include "loaders/model/ObjTextGuard.h"

#include <tiny_obj_loader.h>

#include <cmath>
#include <map>
#include <new>
#include <sstream>
#include <unordered_map>
#include <vector>

namespace
{
// The file's text as the parser may safely take it; the bytes are let go.
std::string GuardedText(std::vector<unsigned char>& bytes)
{
    std::string text(bytes.begin(), bytes.end());
    bytes = std::vector<unsigned char>();
    GuardObjText(text);
    return text;
}

// Material libraries, read from the model's folder only.
class FolderMaterials : public tinyobj::MaterialReader
{
public:
    explicit FolderMaterials(const ModelFolder& folder) : m_folder(folder) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* names, std::string* warning,
                    std::string* err) override
    {
        std::string path;
        std::string error;
        if (!m_folder.Resolve(name, path, error))
        {
            refusal = error;
            return false;
        }
        std::vector<unsigned char> bytes;
        if (!ReadWholeFile(path, bytes, error))
        {
            if (warning != nullptr)
                *warning += error + "\n";
            return false;
        }
        std::istringstream stream(GuardedText(bytes));
        tinyobj::LoadMtl(names, materials, &stream, warning, err);
        return true;
    }

    std::string refusal;  // why a library was refused

private:
    const ModelFolder& m_folder;
};

struct Corner
{
    int v, vt, vn;
    bool operator==(const Corner& o) const { return v == o.v && vt == o.vt && vn == o.vn; }
};

struct CornerHash
{
    std::size_t operator()(const Corner& c) const
    {
        return (static_cast<std::size_t>(c.v) * 73856093u) ^
               (static_cast<std::size_t>(c.vt) * 19349663u) ^
               (static_cast<std::size_t>(c.vn) * 83492791u);
    }
};

class ObjFlattener
{
public:
    ObjFlattener(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::material_t>& materials,
                 const ModelFolder& folder, ModelMesh& mesh)
        : m_attrib(attrib), m_materials(materials), m_folder(folder), m_mesh(mesh)
    {
    }

    // First pass over a shape: checks every corner, gives each distinct corner its vertex
    // number and counts what the faces add.
    bool Count(const tinyobj::shape_t& shape, std::string& error)
    {
        const std::vector<tinyobj::index_t>& indices = shape.mesh.indices;
        std::size_t at = 0;
        for (std::size_t f = 0; f < shape.mesh.num_face_vertices.size(); ++f)
        {
            const std::size_t n = shape.mesh.num_face_vertices[f];
            if (n > indices.size() - at)
                break;  // caught below
            int material = 0;
            const std::size_t known = m_corners.size();
            if (!Material(f < shape.mesh.material_ids.size() ? shape.mesh.material_ids[f] : -1,
                          material, error))
                return false;
            for (std::size_t k = 0; k < n; ++k)
            {
                if (!Vertex(indices[at + k], error))
                    return false;
            }
            m_faceMaterials.push_back(material);
            if (!m_mesh.Count(material, m_corners.size() - known, n >= 3 ? n - 2 : 0, error))
                return false;
            at += n;
        }
        if (at != indices.size())
        {
            error = "a face of object '" + shape.name + "' has more than 255 corners";
            return false;
        }
        return true;
    }

    // Second pass: the vertices, then each shape's faces as fans of triangles.
    void AddVertices()
    {
        for (const Corner& corner : m_corners)
            m_mesh.AddVertex(MakeVertex(corner));
    }
    void Fill(const tinyobj::shape_t& shape)
    {
        for (std::size_t f = 0; f < shape.mesh.num_face_vertices.size(); ++f)
        {
            const std::size_t n = shape.mesh.num_face_vertices[f];
            const std::uint32_t* vertex = &m_cornerVertices[m_nextCorner];
            for (std::size_t k = 2; k < n; ++k)
                m_mesh.AddTriangle(m_faceMaterials[m_nextFace], vertex[0], vertex[k - 1],
                                   vertex[k]);
            m_nextCorner += n;
            ++m_nextFace;
        }
    }

private:
    static bool Inside(int index, std::size_t size, std::size_t width)
    {
        return index >= 0 && static_cast<std::size_t>(index) < size / width;
    }

    // Checks a face corner and notes its vertex number, new for a corner not seen before.
    bool Vertex(const tinyobj::index_t& index, std::string& error)
    {
        if (!Inside(index.vertex_index, m_attrib.vertices.size(), 3) ||
            (index.texcoord_index != -1 &&
             !Inside(index.texcoord_index, m_attrib.texcoords.size(), 2)) ||
            (index.normal_index != -1 && !Inside(index.normal_index, m_attrib.normals.size(), 3)))
        {
            error = "a face names a vertex, normal or texture coordinate the file does not have";
            return false;
        }
        const Corner corner{index.vertex_index, index.texcoord_index, index.normal_index};
        const auto found =
            m_vertexOf.emplace(corner, static_cast<std::uint32_t>(m_corners.size())).first;
        if (found->second == m_corners.size())
            m_corners.push_back(corner);
        m_cornerVertices.push_back(found->second);
        return true;
    }

    ModelMesh::Vertex MakeVertex(const Corner& corner) const
    {
        ModelMesh::Vertex v{};
        for (int axis = 0; axis < 3; ++axis)
            v.position[axis] = m_attrib.vertices[3 * static_cast<std::size_t>(corner.v) + axis];
        if (corner.vn >= 0)
        {
            // Files hold normals of any length, zero among them: those count as absent.
            const float* n = &m_attrib.normals[3 * static_cast<std::size_t>(corner.vn)];
            const double length =
                std::sqrt(double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2]);
            v.hasNormal = length > 0.0 && std::isfinite(length);
            for (int axis = 0; axis < 3 && v.hasNormal; ++axis)
                v.normal[axis] = static_cast<float>(n[axis] / length);
        }
        if (corner.vt >= 0)
        {
            v.uv[0] = m_attrib.texcoords[2 * static_cast<std::size_t>(corner.vt)];
            v.uv[1] = m_attrib.texcoords[2 * static_cast<std::size_t>(corner.vt) + 1];
        }
        return v;
    }

    bool Material(int index, int& number, std::string& error)
    {
        number = 0;
        if (index < 0 || static_cast<std::size_t>(index) >= m_materials.size())
            return true;
        const auto known = m_numbers.find(index);
        if (known != m_numbers.end())
        {
            number = known->second;
            return true;
        }
        const tinyobj::material_t& from = m_materials[static_cast<std::size_t>(index)];
        ModelMesh::Material material;
        for (int i = 0; i < 3; ++i)
            material.colour[i] = static_cast<float>(from.diffuse[i]);
        material.colour[3] = static_cast<float>(from.dissolve);
        if (!from.diffuse_texname.empty() &&
            !m_folder.Resolve(from.diffuse_texname, material.texture, error))
            return false;
        number = m_mesh.AddMaterial(material);
        m_numbers[index] = number;
        return true;
    }

    const tinyobj::attrib_t& m_attrib;
    const std::vector<tinyobj::material_t>& m_materials;
    const ModelFolder& m_folder;
    ModelMesh& m_mesh;
    std::unordered_map<Corner, std::uint32_t, CornerHash> m_vertexOf;
    std::vector<Corner> m_corners;                // the distinct corners, by vertex number
    std::vector<std::uint32_t> m_cornerVertices;  // every face corner's vertex number
    std::vector<int> m_faceMaterials;             // every face's mesh material
    std::size_t m_nextCorner = 0;                 // second pass: where it is
    std::size_t m_nextFace = 0;
    std::map<int, int> m_numbers;  // OBJ material -> mesh material
};
}  // namespace

bool ReadObj(const std::string& path, ModelMesh& mesh, std::string& error)
{
    try
    {
        std::vector<unsigned char> bytes;
        if (!ReadWholeFile(path, bytes, error))
            return false;
        std::istringstream stream(GuardedText(bytes));
        const ModelFolder folder(path);
        FolderMaterials libraries(folder);
        tinyobj::attrib_t attrib;
        std::vector<tinyobj::shape_t> shapes;
        std::vector<tinyobj::material_t> materials;
        std::string warning;
        std::string parseError;
        // Polygons are kept whole and split into fans here: the library's own splitting of
        // polygons beyond four corners takes time that grows faster than the corners.
        const bool parsed = tinyobj::LoadObj(&attrib, &shapes, &materials, &warning, &parseError,
                                             &stream, &libraries, false, false);
        if (!libraries.refusal.empty())
        {
            error = libraries.refusal;
            return false;
        }
        if (!parsed)
        {
            error = parseError.empty() ? "not an OBJ file" : parseError;
            while (!error.empty() && (error.back() == '\n' || error.back() == ' '))
                error.pop_back();
            return false;
        }
        ObjFlattener flattener(attrib, materials, folder, mesh);
        for (const tinyobj::shape_t& shape : shapes)
        {
            if (!flattener.Count(shape, error))
                return false;
        }
        if (!mesh.Begin(error))
            return false;
        flattener.AddVertices();
        for (const tinyobj::shape_t& shape : shapes)
            flattener.Fill(shape);
        return true;
    }
    catch (const std::bad_alloc&)
    {
        error = "not enough memory";
    }
    catch (const std::exception& e)
    {
        error = std::string("the file cannot be parsed: ") + e.what();
    }
    return false;
}
