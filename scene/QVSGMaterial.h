#pragma once

#include "scene/QVColor.h"
#include "scene/QVSGAttribute.h"

#include <cstdint>

class QVImage;

// The surface that mesh face groups point to: four colours, a shininess exponent, reflectivity
// and transparency weights for the ray tracer, and a texture image for the OpenGL renderer. A
// material is shared by reference: groups do not own it, and it must outlive every mesh that
// uses it. Renderers prepare it through InitHard, which asks the renderer every time.
class QVSGMaterial : public QVSGAttribute
{
public:
    // All colours (0, 0, 0, 0), coefficients and shininess 0, no texture; kind bits
    // QVSG_KIND_ATTRIBUTE and QVSG_KIND_CAMERA.
    QVSGMaterial();
    ~QVSGMaterial() override;

    // Slot 3. Returns the renderer's InitNode answer at once, every time; the bound flag is
    // neither read nor set and nothing is traced. False for a null renderer.
    bool InitHard(QVRenderer* renderer) override;
    // Slot 4. Returns true without calling the renderer.
    bool Update(QVRenderer* renderer) override;
    // Slot 5. Returns the renderer's ReleaseNode answer at once (false for a null renderer).
    bool ReleaseHard(QVRenderer* renderer) override;
    // Slot 9. The diffuse colour, owned by the material; renderers read it through this slot.
    virtual QVColor& GetDiffuse();

    // Plain fields, in layout order.
    double transparency;      // weight of the ray tracer's transparency ray
    double reflectivity;      // weight of the reflection ray
    double thirdCoefficient;  // no settled use
    std::uint16_t shininess;  // specular exponent
    QVColor ambient;
    QVColor diffuse;
    QVColor specular;
    QVColor baseColour;  // the ray tracer's starting colour of the shading sum
    QVImage* texture;    // not owned; null: no texture mapping
    std::int32_t textureReserved[3];
};
