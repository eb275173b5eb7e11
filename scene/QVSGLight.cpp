#include "scene/QVSGLight.h"

#include "scene/QVSGKind.h"

QVSGLight::QVSGLight(double x, double y, double z)
    : on(1), ambient(0.1, 0.1, 0.1, 1.0), diffuse(0.8, 0.8, 0.8, 1.0), specular(1.0, 1.0, 1.0, 1.0),
      extraValue1(1000.0), extraValue2(1.0), constantAttenuation(0.0), linearAttenuation(0.0),
      quadraticAttenuation(0.0), extraValue3(1.4), extraValue4(1.7), extraVector(4)
{
    AddKindFlags(QVSG_KIND_LIGHT);
    ClassId = QVSG_CLASS_LIGHT;
    SetPosition(x, y, z);
}

QVSGLight::~QVSGLight() = default;

void QVSGLight::SetAttenuation(double constantFactor, double linearFactor, double quadraticFactor)
{
    constantAttenuation = constantFactor;
    linearAttenuation = linearFactor;
    quadraticAttenuation = quadraticFactor;
}

double QVSGLight::AttenuationAt(double distance) const
{
    const double sum = constantAttenuation + linearAttenuation * distance +
                       quadraticAttenuation * distance * distance;
    if (sum == 0.0)
    {
        return 1.0;
    }
    const double factor = 1.0 / sum;
    return factor > 1.0 ? 1.0 : factor;
}

double QVSGLight::GetExtraValue(int which) const
{
    switch (which)
    {
    case 1:
        return extraValue1;
    case 2:
        return extraValue2;
    case 3:
        return extraValue3;
    case 4:
        return extraValue4;
    default:
        return 0.0;
    }
}
