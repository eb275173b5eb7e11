#include "loaders/model/QVModelLoader.h"

#include "loaders/model/GltfReader.h"
#include "loaders/model/ModelMesh.h"
#include "loaders/model/ObjReader.h"
#include "scene/QVSGMesh.h"

#include <cstdio>

namespace
{
// The name's extension after its last dot, folded to lower case.
std::string ExtensionOf(const std::string& name)
{
    const std::size_t dot = name.find_last_of('.');
    const std::size_t slash = name.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return extension;
}

// A narrow copy of the name (16-bit names hold only what a narrow path can say here).
std::string NarrowName(const QVString& fileName)
{
    QVString copy;
    copy.Assign(fileName);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetBuffer() != nullptr ? std::string(copy.GetBuffer()) : std::string();
}
}  // namespace

QVModelLoader::QVModelLoader()
{
    SetName(QVString("Quarvo model file loader"));
    SetPlatform(QVString("All"));
    SetType(QVString("Object Loader"));
    SetDescription(QVString("glTF 2.0, Wavefront OBJ"));
    SetExtension(QVString("gltf"));
}

QVModelLoader::~QVModelLoader() = default;

bool QVModelLoader::CanLoad(const QVString& fileName)
{
    const std::string extension = ExtensionOf(NarrowName(fileName));
    return extension == "gltf" || extension == "glb" || extension == "obj";
}

bool QVModelLoader::Load(QVModCollection* client, const QVString& fileName)
{
    SetFileName(fileName);
    m_lastError.clear();
    const std::string name = NarrowName(fileName);
    QVSGMesh* mesh = QVSGMesh::FromModCollection(client);
    if (mesh == nullptr)
    {
        m_lastError = "the loader was not handed a mesh";
    }
    else
    {
        ModelMesh model(*mesh);
        const bool read = ExtensionOf(name) == "obj" ? ReadObj(name, model, m_lastError)
                                                     : ReadGltf(name, model, m_lastError);
        if (read)
        {
            model.Finish();
            return true;
        }
    }
    std::fprintf(stderr, "qvmodelloader: '%s': %s\n", name.c_str(), m_lastError.c_str());
    return false;
}

bool QVModelLoader::Save(QVModCollection* /*client*/, const QVString& /*fileName*/)
{
    return false;
}
