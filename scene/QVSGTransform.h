#pragma once

#include "core/math/QVVector.h"
#include "scene/QVColor.h"
#include "scene/QVSGDrawable.h"

#include <cstdint>

// A drawable node with a placement: translate(position) . rotate x . rotate y . rotate z .
// scale, in this order (rotations in degrees). Renderers read position, scale and size directly;
// the sphere keeps its radius in the size, a box built from its faces sets 2.0.
class QVSGTransform : public QVSGDrawable
{
public:
    // Position and rotation (0, 0, 0), scale (1, 1, 1), colour (0, 0, 0, 0), size 0; class code
    // QVSG_CLASS_TRANSFORM.
    QVSGTransform();
    ~QVSGTransform() override;

    // Slot 10. Returns true.
    virtual bool Prepare();

    // Dimension-3 vectors, owned by the node.
    QVVector& GetPosition() { return position; }
    QVVector& GetRotation() { return rotation; }
    QVVector& GetScale() { return scale; }
    void SetPosition(double x, double y, double z) { position.Set(x, y, z); }
    void SetRotation(double x, double y, double z) { rotation.Set(x, y, z); }
    void SetScale(double x, double y, double z) { scale.Set(x, y, z); }
    QVColor& GetColor() { return colour; }
    double GetSize() const { return size; }
    void SetSize(double value) { size = value; }

protected:
    std::int32_t reservedWord;  // 0
    QVColor colour;
    QVVector position;  // dimension 3
    QVVector rotation;  // degrees about x, y, z
    QVVector scale;
    double auxiliaryValue;  // 0
    bool auxiliaryFlag;     // 1
    double size;            // extent of the shape in its own units (sphere: the radius)
};
