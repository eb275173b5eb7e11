#include "loaders/model/GltfReader.h"

#include "loaders/model/EmbeddedImage.h"
#include "loaders/model/GltfAccessor.h"
#include "loaders/model/ModelFolder.h"
#include "loaders/model/ModelLimits.h"
#include "loaders/model/ModelMesh.h"
#include "platform/RegularFile.h"

#include <tiny_gltf.h>

#include <cmath>
#include <cstring>
#include <map>
#include <new>
#include <vector>

namespace
{
// What the parser's file callbacks share with the reader.
struct FileAccess
{
    const ModelFolder* folder;
    std::string refusal;  // why a reference was refused, for the message
    // Images in data: URIs, by image number; the parser hands them over while parsing.
    std::map<int, std::pair<std::string, std::vector<unsigned char>>> dataImages;
};

bool FileExists(const std::string& reference, void* user)
{
    FileAccess& access = *static_cast<FileAccess*>(user);
    std::string path;
    if (!access.folder->Resolve(reference, path, access.refusal))
    {
        return false;
    }
    return QVIsRegularFile(path.c_str());
}

std::string ExpandFilePath(const std::string& reference, void*) { return reference; }

bool ReadFile(std::vector<unsigned char>* out, std::string* err, const std::string& reference,
              void* user)
{
    FileAccess& access = *static_cast<FileAccess*>(user);
    std::string path;
    std::string error;
    if (!access.folder->Resolve(reference, path, error) || !ReadWholeFile(path, *out, error))
    {
        access.refusal = error;
        if (err != nullptr)
        {
            *err += error;
        }
        return false;
    }
    return true;
}

bool WriteFile(std::string*, const std::string&, const std::vector<unsigned char>&, void*)
{
    return false;
}

// Keeps the bytes of images in data: URIs; those in buffer views are read once the views can be
// checked (the parser hands them over unchecked), and files are not read here at all.
bool KeepImage(tinygltf::Image* image, const int index, std::string*, std::string*, int, int,
               const unsigned char* bytes, int size, void* user)
{
    if (image->bufferView < 0 && bytes != nullptr && size > 0)
    {
        FileAccess& access = *static_cast<FileAccess*>(user);
        access.dataImages[index] = {image->mimeType,
                                    std::vector<unsigned char>(bytes, bytes + size)};
    }
    return true;
}

std::uint32_t Le32(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// Checks the GLB container: a 12-byte header whose length does not pass the file, a JSON chunk,
// and a binary chunk (when present) whose header and bytes lie inside the declared length. The
// parser's own check lets the binary chunk's bytes run 8 bytes past the file. The JSON chunk's
// place goes to json and jsonSize.
bool CheckGlb(const std::vector<unsigned char>& bytes, const char*& json, std::size_t& jsonSize,
              std::string& error)
{
    error = "not a valid binary glTF container: ";
    if (bytes.size() < 20)
    {
        error += "too short";
        return false;
    }
    const std::uint64_t length = Le32(&bytes[8]);
    const std::uint64_t jsonLength = Le32(&bytes[12]);
    if (length > bytes.size() || Le32(&bytes[16]) != 0x4E4F534A || jsonLength == 0 ||
        20 + jsonLength > length)
    {
        error += "the JSON chunk is missing or passes the end of the file";
        return false;
    }
    const std::uint64_t binAt = 20 + jsonLength;
    if (binAt < length)
    {
        if (binAt + 8 > length || binAt + 8 + Le32(&bytes[binAt]) > length)
        {
            error += "the binary chunk passes the end of the file";
            return false;
        }
    }
    json = reinterpret_cast<const char*>(&bytes[20]);
    jsonSize = static_cast<std::size_t>(jsonLength);
    error.clear();
    return true;
}

// A URI reference with its %XX escapes decoded, as the parser decodes buffer URIs.
std::string PercentDecoded(const std::string& uri)
{
    const auto hex = [](char c)
    {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                      : -1;
    };
    std::string decoded;
    for (std::size_t i = 0; i < uri.size(); ++i)
    {
        if (uri[i] == '%' && i + 2 < uri.size() && hex(uri[i + 1]) >= 0 && hex(uri[i + 2]) >= 0)
        {
            decoded += static_cast<char>(hex(uri[i + 1]) * 16 + hex(uri[i + 2]));
            i += 2;
        }
        else
            decoded += uri[i];
    }
    return decoded;
}

// Column-major 4 x 4 matrices, as glTF writes them.
struct Matrix
{
    double m[16];
};

Matrix Identity()
{
    Matrix r{};
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0;
    return r;
}

Matrix Multiply(const Matrix& a, const Matrix& b)
{
    Matrix r{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k)
                r.m[column * 4 + row] += a.m[k * 4 + row] * b.m[column * 4 + k];
    return r;
}

bool LocalMatrix(const tinygltf::Node& node, Matrix& local, std::string& error)
{
    local = Identity();
    if (!node.matrix.empty())
    {
        if (node.matrix.size() != 16)
        {
            error = "node '" + node.name + "' has a matrix without 16 numbers";
            return false;
        }
        std::memcpy(local.m, node.matrix.data(), sizeof local.m);
        return true;
    }
    if ((!node.translation.empty() && node.translation.size() != 3) ||
        (!node.rotation.empty() && node.rotation.size() != 4) ||
        (!node.scale.empty() && node.scale.size() != 3))
    {
        error = "node '" + node.name + "' has a translation, rotation or scale of the wrong size";
        return false;
    }
    // T * R * S.
    double x = 0, y = 0, z = 0, w = 1;
    if (!node.rotation.empty())
    {
        x = node.rotation[0], y = node.rotation[1], z = node.rotation[2], w = node.rotation[3];
    }
    const double s[3] = {node.scale.empty() ? 1.0 : node.scale[0],
                         node.scale.empty() ? 1.0 : node.scale[1],
                         node.scale.empty() ? 1.0 : node.scale[2]};
    const double r[9] = {1 - 2 * (y * y + z * z), 2 * (x * y + z * w),     2 * (x * z - y * w),
                         2 * (x * y - z * w),     1 - 2 * (x * x + z * z), 2 * (y * z + x * w),
                         2 * (x * z + y * w),     2 * (y * z - x * w),     1 - 2 * (x * x + y * y)};
    for (int column = 0; column < 3; ++column)
        for (int row = 0; row < 3; ++row)
            local.m[column * 4 + row] = r[column * 3 + row] * s[column];
    for (int row = 0; row < 3 && !node.translation.empty(); ++row)
        local.m[12 + row] = node.translation[static_cast<std::size_t>(row)];
    return true;
}

class Flattener
{
public:
    Flattener(const tinygltf::Model& model, const ModelFolder& folder, FileAccess& access,
              ModelMesh& mesh)
        : m_model(model), m_folder(folder), m_access(access), m_mesh(mesh)
    {
    }

    bool Run(std::string& error)
    {
        std::vector<int> roots;
        if (!Roots(roots, error))
            return false;
        // The first walk checks and counts, so that a refused file changes nothing and a file
        // whose nodes name a mesh many times over is refused before anything is made; the second
        // fills the mesh.
        m_counting = true;
        if (!WalkScene(roots, error) || !m_mesh.Begin(error))
            return false;
        m_counting = false;
        return WalkScene(roots, error);
    }

private:
    bool WalkScene(const std::vector<int>& roots, std::string& error)
    {
        m_visited.assign(m_model.nodes.size(), false);
        for (int root : roots)
        {
            if (!Walk(root, Identity(), 0, error))
                return false;
        }
        return true;
    }

    // The scene's nodes; every child checked to exist and to have one parent only.
    bool Roots(std::vector<int>& roots, std::string& error)
    {
        std::vector<int> parents(m_model.nodes.size(), 0);
        for (const tinygltf::Node& node : m_model.nodes)
        {
            for (int child : node.children)
            {
                if (child < 0 || static_cast<std::size_t>(child) >= m_model.nodes.size())
                {
                    error = "node '" + node.name + "' names a child that does not exist";
                    return false;
                }
                if (++parents[static_cast<std::size_t>(child)] > 1)
                {
                    error = "node " + std::to_string(child) + " is the child of two nodes";
                    return false;
                }
            }
        }
        const std::vector<tinygltf::Scene>& scenes = m_model.scenes;
        if (!scenes.empty())
        {
            const std::size_t chosen =
                m_model.defaultScene >= 0 &&
                        static_cast<std::size_t>(m_model.defaultScene) < scenes.size()
                    ? static_cast<std::size_t>(m_model.defaultScene)
                    : 0;
            roots = scenes[chosen].nodes;
            return true;
        }
        for (std::size_t i = 0; i < parents.size(); ++i)
        {
            if (parents[i] == 0)
                roots.push_back(static_cast<int>(i));
        }
        return true;
    }

    bool Walk(int index, const Matrix& parent, int depth, std::string& error)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= m_model.nodes.size())
        {
            error = "the scene names a node that does not exist";
            return false;
        }
        if (depth > model::kMaxNodeDepth)
        {
            error = "the node tree is deeper than " + std::to_string(model::kMaxNodeDepth);
            return false;
        }
        if (m_visited[static_cast<std::size_t>(index)])
        {
            error = "node " + std::to_string(index) + " is its own descendant or listed twice";
            return false;
        }
        m_visited[static_cast<std::size_t>(index)] = true;
        const tinygltf::Node& node = m_model.nodes[static_cast<std::size_t>(index)];
        Matrix local;
        if (!LocalMatrix(node, local, error))
            return false;
        const Matrix world = Multiply(parent, local);
        if (node.mesh >= 0)
        {
            if (static_cast<std::size_t>(node.mesh) >= m_model.meshes.size())
            {
                error = "node '" + node.name + "' names a mesh that does not exist";
                return false;
            }
            for (const tinygltf::Primitive& primitive :
                 m_model.meshes[static_cast<std::size_t>(node.mesh)].primitives)
            {
                if (!AddPrimitive(primitive, world, error))
                    return false;
            }
        }
        for (int child : node.children)
        {
            if (!Walk(child, world, depth + 1, error))
                return false;
        }
        return true;
    }

    bool AddPrimitive(const tinygltf::Primitive& primitive, const Matrix& world, std::string& error)
    {
        const int mode = primitive.mode < 0 ? TINYGLTF_MODE_TRIANGLES : primitive.mode;
        if (mode != TINYGLTF_MODE_TRIANGLES && mode != TINYGLTF_MODE_TRIANGLE_STRIP &&
            mode != TINYGLTF_MODE_TRIANGLE_FAN)
        {
            return true;  // points and lines
        }
        const auto attribute = [&](const char* name)
        {
            const auto found = primitive.attributes.find(name);
            return found == primitive.attributes.end() ? -1 : found->second;
        };
        GltfAccessor positions;
        if (attribute("POSITION") < 0)
        {
            return true;  // nothing to place
        }
        if (!positions.Open(m_model, attribute("POSITION"), 3, GltfAccessor::kFloat, "POSITION",
                            error))
            return false;
        const std::size_t count = positions.Count();
        GltfAccessor normals;
        const bool hasNormals = attribute("NORMAL") >= 0;
        if (hasNormals &&
            !normals.Open(m_model, attribute("NORMAL"), 3, GltfAccessor::kFloat, "NORMAL", error))
            return false;
        if (primitive.material >= 0 &&
            static_cast<std::size_t>(primitive.material) >= m_model.materials.size())
        {
            error = "a primitive names a material that does not exist";
            return false;
        }
        // The set of texture coordinates the base colour texture reads.
        const tinygltf::TextureInfo* texture =
            primitive.material >= 0
                ? &m_model.materials[static_cast<std::size_t>(primitive.material)]
                       .pbrMetallicRoughness.baseColorTexture
                : nullptr;
        const int texCoord = texture != nullptr && texture->index >= 0 ? texture->texCoord : 0;
        GltfAccessor uvs;
        const std::string uvName = "TEXCOORD_" + std::to_string(texCoord);
        const bool hasUvs = attribute(uvName.c_str()) >= 0;
        if (hasUvs && !uvs.Open(m_model, attribute(uvName.c_str()), 2,
                                GltfAccessor::kFloat | GltfAccessor::kUnsignedByte |
                                    GltfAccessor::kUnsignedShort,
                                uvName.c_str(), error))
            return false;
        if ((hasNormals && normals.Count() != count) || (hasUvs && uvs.Count() != count))
        {
            error = "a primitive's attributes differ in their counts";
            return false;
        }
        GltfAccessor indices;
        const bool indexed = primitive.indices >= 0;
        if (indexed && !indices.Open(m_model, primitive.indices, 1,
                                     GltfAccessor::kUnsignedByte | GltfAccessor::kUnsignedShort |
                                         GltfAccessor::kUnsignedInt,
                                     "indices", error))
            return false;
        const std::size_t corners = indexed ? indices.Count() : count;
        int material = 0;
        // A double-sided material is seen from behind too, where the renderers cull: its
        // triangles come twice, the second time turned round, on vertices whose normals face
        // the other way.
        const std::size_t sides =
            texture != nullptr &&
                    m_model.materials[static_cast<std::size_t>(primitive.material)].doubleSided
                ? 2
                : 1;
        const std::size_t triangles = mode == TINYGLTF_MODE_TRIANGLES ? corners / 3
                                      : corners >= 3                  ? corners - 2
                                                                      : 0;
        if (m_counting)
        {
            const std::uint32_t largest = indexed ? indices.LargestIndex() : 0;
            if (indexed && corners > 0 && largest >= count)
            {
                error = "an index (" + std::to_string(largest) + ") passes the primitive's " +
                        std::to_string(count) + " vertices";
                return false;
            }
            return Material(primitive.material, material, error) &&
                   m_mesh.Count(material, sides * count, sides * triangles, error);
        }
        Material(primitive.material, material, error);  // made in the first walk

        // Normals go through the inverse transpose, for which the cofactor matrix serves up to a
        // factor (they are normalised); a mirroring transform turns the winding round. The
        // cofactors are stored column by column, like the matrix.
        const double* m = world.m;
        const double cofactor[9] = {
            m[5] * m[10] - m[6] * m[9], m[6] * m[8] - m[4] * m[10], m[4] * m[9] - m[5] * m[8],
            m[2] * m[9] - m[1] * m[10], m[0] * m[10] - m[2] * m[8], m[1] * m[8] - m[0] * m[9],
            m[1] * m[6] - m[2] * m[5],  m[2] * m[4] - m[0] * m[6],  m[0] * m[5] - m[1] * m[4]};
        const double determinant = m[0] * cofactor[0] + m[4] * cofactor[3] + m[8] * cofactor[6];
        const std::uint32_t first = static_cast<std::uint32_t>(m_mesh.VertexCount());
        for (std::size_t k = 0; k < sides * count; ++k)
        {
            const std::size_t i = k % count;
            ModelMesh::Vertex v{};
            float f[3];
            positions.Vec3(i, f);
            const double p[3] = {f[0], f[1], f[2]};
            for (int row = 0; row < 3; ++row)
                v.position[row] =
                    m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
            if (hasNormals)
            {
                normals.Vec3(i, f);
                const double n[3] = {f[0], f[1], f[2]};
                double t[3];
                for (int row = 0; row < 3; ++row)
                    t[row] =
                        cofactor[row] * n[0] + cofactor[3 + row] * n[1] + cofactor[6 + row] * n[2];
                // The cofactors are the inverse transpose times the determinant: its sign counts.
                const double length =
                    std::copysign(std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]), determinant);
                v.hasNormal = length != 0.0 && std::isfinite(length);
                const double side = k < count ? 1.0 : -1.0;
                for (int row = 0; row < 3 && v.hasNormal; ++row)
                    v.normal[row] = static_cast<float>(side * t[row] / length);
            }
            if (hasUvs)
            {
                // glTF's images have their origin at the top, the renderers' at the bottom.
                v.uv[0] = uvs.Float(i, 0);
                v.uv[1] = 1.0f - uvs.Float(i, 1);
            }
            m_mesh.AddVertex(v);
        }
        const bool mirrored = determinant < 0.0;
        const auto corner = [&](std::size_t i)
        { return first + (indexed ? indices.Index(i) : static_cast<std::uint32_t>(i)); };
        for (std::size_t k = 0; k < sides * triangles; ++k)
        {
            const std::size_t t = k % triangles;
            std::uint32_t a, b, c;
            if (mode == TINYGLTF_MODE_TRIANGLES && indexed)
            {
                std::uint32_t triple[3];
                indices.Triple(3 * t, triple);
                a = first + triple[0], b = first + triple[1], c = first + triple[2];
            }
            else if (mode == TINYGLTF_MODE_TRIANGLES)
                a = corner(3 * t), b = corner(3 * t + 1), c = corner(3 * t + 2);
            else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP)
                a = corner(t + (t & 1)), b = corner(t + 1 - (t & 1)), c = corner(t + 2);
            else
                a = corner(t + 1), b = corner(t + 2), c = corner(0);
            if (mirrored != (k >= triangles))
                std::swap(b, c);
            if (k >= triangles)
            {
                const std::uint32_t back = static_cast<std::uint32_t>(count);
                a += back, b += back, c += back;
            }
            m_mesh.AddTriangle(material, a, b, c);
        }
        return true;
    }

    // The mesh's material number for glTF material `index` (-1: the default; others checked to
    // exist), made on first use.
    bool Material(int index, int& number, std::string& error)
    {
        number = 0;
        if (index < 0)
            return true;
        const tinygltf::PbrMetallicRoughness& pbr =
            m_model.materials[static_cast<std::size_t>(index)].pbrMetallicRoughness;
        const auto known = m_materials.find(index);
        if (known != m_materials.end())
        {
            number = known->second;
            return true;
        }
        ModelMesh::Material material;
        for (std::size_t i = 0; i < 4 && i < pbr.baseColorFactor.size(); ++i)
            material.colour[i] = static_cast<float>(pbr.baseColorFactor[i]);
        if (pbr.baseColorTexture.index >= 0 &&
            !Texture(pbr.baseColorTexture.index, material, error))
            return false;
        number = m_mesh.AddMaterial(material);
        m_materials[index] = number;
        return true;
    }

    // The image of texture `index`: a file beside the model, or the model's own bytes (written
    // to a file when the mesh is begun). A texture without an image is left out.
    bool Texture(int index, ModelMesh::Material& material, std::string& error)
    {
        if (static_cast<std::size_t>(index) >= m_model.textures.size())
        {
            error = "a material names a texture that does not exist";
            return false;
        }
        const int source = m_model.textures[static_cast<std::size_t>(index)].source;
        if (source < 0 || static_cast<std::size_t>(source) >= m_model.images.size())
            return true;
        const tinygltf::Image& image = m_model.images[static_cast<std::size_t>(source)];
        const auto data = m_access.dataImages.find(source);
        if (data != m_access.dataImages.end())
        {
            material.embeddedType = data->second.first;
            material.embedded = data->second.second.data();
            material.embeddedSize = data->second.second.size();
        }
        else if (image.bufferView >= 0)
        {
            const std::size_t viewIndex = static_cast<std::size_t>(image.bufferView);
            const tinygltf::BufferView* view =
                viewIndex < m_model.bufferViews.size() ? &m_model.bufferViews[viewIndex] : nullptr;
            const std::vector<unsigned char>* buffer =
                view != nullptr && view->buffer >= 0 &&
                        static_cast<std::size_t>(view->buffer) < m_model.buffers.size()
                    ? &m_model.buffers[static_cast<std::size_t>(view->buffer)].data
                    : nullptr;
            if (buffer == nullptr || view->byteOffset > buffer->size() ||
                view->byteLength > buffer->size() - view->byteOffset)
            {
                error = "an image's buffer view reaches past the end of its buffer";
                return false;
            }
            material.embeddedType = image.mimeType;
            material.embedded = buffer->data() + view->byteOffset;
            material.embeddedSize = view->byteLength;
        }
        else if (!image.uri.empty())
        {
            const std::string reference = PercentDecoded(image.uri);
            if (!m_folder.Resolve(reference, material.texture, error))
                return false;
        }
        return true;
    }

    const tinygltf::Model& m_model;
    const ModelFolder& m_folder;
    FileAccess& m_access;
    ModelMesh& m_mesh;
    std::vector<bool> m_visited;
    bool m_counting = false;
    std::map<int, int> m_materials;  // glTF material -> mesh material
};
}  // namespace

bool JsonNestsDeeperThan(const char* text, std::size_t size, int maxDepth)
{
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < size; ++i)
    {
        const char c = text[i];
        if (inString)
        {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        }
        else if (c == '"')
            inString = true;
        else if (c == '[' || c == '{')
        {
            if (++depth > maxDepth)
                return true;
        }
        else if (c == ']' || c == '}')
            --depth;
    }
    return false;
}

bool ReadGltf(const std::string& path, ModelMesh& mesh, std::string& error)
{
    try
    {
        std::vector<unsigned char> bytes;
        if (!ReadWholeFile(path, bytes, error))
            return false;
        const ModelFolder folder(path);
        FileAccess access{&folder, std::string(), {}};
        tinygltf::TinyGLTF parser;
        parser.SetFsCallbacks({&FileExists, &ExpandFilePath, &ReadFile, &WriteFile, &access});
        parser.SetImageLoader(&KeepImage, &access);

        const bool binary = bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0;
        const char* json = reinterpret_cast<const char*>(bytes.data());
        std::size_t jsonSize = bytes.size();
        if (binary && !CheckGlb(bytes, json, jsonSize, error))
            return false;
        if (JsonNestsDeeperThan(json, jsonSize, model::kMaxJsonDepth))
        {
            error =
                "the JSON nests deeper than " + std::to_string(model::kMaxJsonDepth) + " levels";
            return false;
        }
        tinygltf::Model model;
        std::string parseError;
        std::string warning;
        // The folder is not given to the parser: references reach the callbacks as written and
        // are resolved there.
        const bool parsed =
            binary ? parser.LoadBinaryFromMemory(&model, &parseError, &warning, bytes.data(),
                                                 static_cast<unsigned>(bytes.size()), "")
                   : parser.LoadASCIIFromString(&model, &parseError, &warning, json,
                                                static_cast<unsigned>(jsonSize), "");
        if (!parsed)
        {
            error = !access.refusal.empty() ? access.refusal
                    : !parseError.empty()   ? parseError
                                            : "not a glTF 2.0 file";
            while (!error.empty() && (error.back() == '\n' || error.back() == ' '))
                error.pop_back();
            return false;
        }
        bytes.clear();
        bytes.shrink_to_fit();
        Flattener flattener(model, folder, access, mesh);
        return flattener.Run(error);
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
