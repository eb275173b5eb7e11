#pragma once

#include "core/math/QVVector.h"
#include "scene/QVColor.h"
#include "scene/QVSGTransform.h"

#include <cstdint>

// A positioned point light (the position is the transform's) with ambient, diffuse and specular
// colours and distance attenuation: a = constant + linear d + quadratic d^2, full strength when
// a is 0, else 1 / a capped at 1. The extra values, the extra vector and the on flag are plain
// fields that renderers may read.
class QVSGLight : public QVSGTransform
{
public:
    // At (x, y, z); ambient 0.1, diffuse 0.8, specular 1 (alpha 1 each); no attenuation; class
    // code QVSG_CLASS_LIGHT and kind bit QVSG_KIND_LIGHT.
    QVSGLight(double x, double y, double z);
    ~QVSGLight() override;

    void SetAmbient(double r, double g, double b, double a) { ambient.Set(r, g, b, a); }
    void SetDiffuse(double r, double g, double b, double a) { diffuse.Set(r, g, b, a); }
    void SetSpecular(double r, double g, double b, double a) { specular.Set(r, g, b, a); }
    void SetOn(std::int16_t value) { on = value; }
    void SetAttenuation(double constantFactor, double linearFactor, double quadraticFactor);

    QVColor& GetAmbient() { return ambient; }
    QVColor& GetDiffuse() { return diffuse; }
    QVColor& GetSpecular() { return specular; }
    std::int16_t GetOn() const { return on; }
    double GetConstantAttenuation() const { return constantAttenuation; }
    double GetLinearAttenuation() const { return linearAttenuation; }
    double GetQuadraticAttenuation() const { return quadraticAttenuation; }
    // The factor the light contributes at distance d: 1 when the attenuation sum is 0, else its
    // inverse, never above 1.
    double AttenuationAt(double distance) const;

    // Plain fields with no settled use; renderers may read them.
    double GetExtraValue(int which) const;  // 1 to 4; other numbers give 0
    QVVector& GetExtraVector() { return extraVector; }

private:
    std::int16_t on;  // 1
    QVColor ambient;
    QVColor diffuse;
    QVColor specular;
    double extraValue1;           // 1000.0
    double extraValue2;           // 1.0
    double constantAttenuation;   // 0
    double linearAttenuation;     // 0
    double quadraticAttenuation;  // 0
    double extraValue3;           // 1.4
    double extraValue4;           // 1.7
    QVVector extraVector;         // dimension 4, zero
};
