// The node operations of the OpenGL renderer: what it prepares, drops and draws for each kind
// of node.
#include "loaders/QVImage.h"
#include "renderers/opengl/GLMeshDrawer.h"
#include "renderers/opengl/GLMeshRecords.h"
#include "renderers/opengl/GLNodeKind.h"
#include "renderers/opengl/QVGLRenderer.h"
#include "renderers/opengl/QVTexture.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGWorld.h"

namespace
{
void FreeRecord(QVSGMesh& mesh, int slot)
{
    delete static_cast<GLCountRecord*>(mesh.RendererData(slot));
    mesh.RendererData(slot) = nullptr;
}

void StoreRecord(QVSGMesh& mesh, int slot, int count)
{
    // A mesh prepared again gets fresh records, not a second pair beside the first.
    FreeRecord(mesh, slot);
    mesh.RendererData(slot) = new GLCountRecord{count};
}

void FreeTexture(QVImage& image)
{
    QVTexture* texture = static_cast<QVTexture*>(image.RendererSlot());
    if (texture != nullptr)
    {
        texture->Release();
        delete texture;
    }
    image.RendererSlot() = nullptr;
}
}  // namespace

QVSGMaterial* QVGLRenderer::DefaultMaterial()
{
    return world != nullptr ? &world->GetDefaultMaterial() : nullptr;
}

bool QVGLRenderer::InitNode(QVSGNode* node)
{
    if (node == nullptr)
    {
        return false;
    }
    switch (ClassifyNode(node->GetKindFlags()))
    {
    case GLNodeKind::World:
        world = static_cast<QVSGWorld*>(node);
        return true;
    case GLNodeKind::Image:
    {
        // Textures are made in the context; without one the image cannot be prepared.
        if (!HasContext())
        {
            return false;
        }
        QVImage& image = *static_cast<QVImage*>(node);
        FreeTexture(image);
        QVTexture* texture = new QVTexture();
        texture->Create(&image);
        image.RendererSlot() = texture;
        return true;
    }
    case GLNodeKind::Mesh:
    {
        QVSGMesh& mesh = *static_cast<QVSGMesh*>(node);
        StoreRecord(mesh, kVertexCountSlot, mesh.GetVertexCount());
        StoreRecord(mesh, kIndexCountSlot, mesh.GetIndexCount());
        mesh.SetHardReady(true);
        return true;
    }
    case GLNodeKind::Material:
    case GLNodeKind::Light:
    case GLNodeKind::Camera:
    case GLNodeKind::OtherMesh:
        return true;
    case GLNodeKind::NotANode:
    case GLNodeKind::Unknown:
        break;
    }
    return false;
}

bool QVGLRenderer::UpdateNode(QVSGNode* node)
{
    if (node == nullptr)
    {
        return false;
    }
    const GLNodeKind kind = ClassifyNode(node->GetKindFlags());
    return kind != GLNodeKind::NotANode && kind != GLNodeKind::Unknown;
}

bool QVGLRenderer::ReleaseNode(QVSGNode* node)
{
    if (node == nullptr)
    {
        return false;
    }
    switch (ClassifyNode(node->GetKindFlags()))
    {
    case GLNodeKind::Image:
        FreeTexture(*static_cast<QVImage*>(node));
        return true;
    case GLNodeKind::Mesh:
    {
        // Both records go: the mesh does not own them and nothing else would free them.
        QVSGMesh& mesh = *static_cast<QVSGMesh*>(node);
        FreeRecord(mesh, kVertexCountSlot);
        FreeRecord(mesh, kIndexCountSlot);
        return true;
    }
    case GLNodeKind::World:
    case GLNodeKind::Material:
    case GLNodeKind::Light:
    case GLNodeKind::Camera:
    case GLNodeKind::OtherMesh:
        return true;
    case GLNodeKind::NotANode:
    case GLNodeKind::Unknown:
        break;
    }
    return false;
}

bool QVGLRenderer::DrawNode(QVSGNode* node)
{
    if (node == nullptr)
    {
        return false;
    }
    switch (ClassifyNode(node->GetKindFlags()))
    {
    case GLNodeKind::Mesh:
        if (HasContext())
        {
            DrawMesh(*static_cast<QVSGMesh*>(node), DefaultMaterial());
        }
        return true;
    case GLNodeKind::World:
    case GLNodeKind::Image:
    case GLNodeKind::Material:
    case GLNodeKind::Light:
    case GLNodeKind::Camera:
    case GLNodeKind::OtherMesh:
        return true;
    case GLNodeKind::Unknown:
        // Attribute nodes are never drawn, and never refused for it.
        return (node->GetKindFlags() & QVSG_KIND_ATTRIBUTE) != 0;
    case GLNodeKind::NotANode:
        break;
    }
    return false;
}
