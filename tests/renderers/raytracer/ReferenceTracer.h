#pragma once

#include "core/math/QVVector.h"
#include "scene/QVColor.h"

class QVSGMaterial;
class QVSGNode;
class QVSGWorld;

// The trace written the plain way, to check the fast one against: dimension-4 QVVectors (w = 0)
// for every vector, QVColors for every colour, the world's lists walked for every ray, nodes
// read directly, and a secondary ray allocated per accepted hit. Same arithmetic, same order.
class ReferenceRay
{
public:
    ReferenceRay();

    bool Trace(QVSGWorld& world, int depth);
    bool Intersect(QVSGNode* object);

    bool traced = false;
    int mode = 0;
    QVVector origin, direction, hitPoint, normal, reflected, transmitted;
    QVColor colour;
    double distance = 0.0;
    QVSGMaterial* material = nullptr;
    int faceIndex = 0;

private:
    void Shade(QVSGWorld& world, ReferenceRay& secondary);
};
