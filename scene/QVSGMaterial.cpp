#include "scene/QVSGMaterial.h"

#include "renderers/QVRenderer.h"
#include "scene/QVSGKind.h"

QVSGMaterial::QVSGMaterial()
    : transparency(0.0), reflectivity(0.0), thirdCoefficient(0.0), shininess(0), ambient(0u),
      diffuse(0u), specular(0u), baseColour(0u), texture(nullptr), textureReserved{0, 0, 0}
{
    AddKindFlags(QVSG_KIND_CAMERA);
}

QVSGMaterial::~QVSGMaterial() = default;

bool QVSGMaterial::InitHard(QVRenderer* renderer)
{
    return renderer != nullptr ? renderer->InitNode(this) : false;
}

bool QVSGMaterial::Update(QVRenderer*) { return true; }

bool QVSGMaterial::ReleaseHard(QVRenderer* renderer)
{
    return renderer != nullptr ? renderer->ReleaseNode(this) : false;
}

QVColor& QVSGMaterial::GetDiffuse() { return diffuse; }
