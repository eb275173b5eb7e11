#include "renderers/opengl/GLNodeKind.h"

#include "scene/QVSGKind.h"

GLNodeKind ClassifyNode(std::uint32_t flags)
{
    const bool attribute = (flags & QVSG_KIND_ATTRIBUTE) != 0;
    const bool spatial = (flags & QVSG_KIND_SPATIAL) != 0;
    const bool lightBit = (flags & QVSG_KIND_LIGHT) != 0;
    const bool cameraBit = (flags & QVSG_KIND_CAMERA) != 0;
    if ((flags & QVSG_KIND_WORLD) != 0)
    {
        return GLNodeKind::World;
    }
    if ((flags & QVSG_KIND_NODE) == 0)
    {
        return GLNodeKind::NotANode;
    }
    if (attribute && !spatial)
    {
        if (lightBit)
        {
            return GLNodeKind::Image;
        }
        return cameraBit ? GLNodeKind::Material : GLNodeKind::Unknown;
    }
    if (spatial)
    {
        if (lightBit)
        {
            return GLNodeKind::Light;
        }
        if (cameraBit)
        {
            return GLNodeKind::Camera;
        }
        if ((flags & QVSG_KIND_MESH) != 0)
        {
            return (flags & kOtherMeshBits) != 0 ? GLNodeKind::OtherMesh : GLNodeKind::Mesh;
        }
    }
    return GLNodeKind::Unknown;
}
