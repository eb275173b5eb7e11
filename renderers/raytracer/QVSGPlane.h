#pragma once

#include "core/math/QVVector.h"
#include "scene/QVSGMesh.h"

// An infinite plane for the ray tracer: the points p with p . normal = distance, seen from the
// side its normal faces only. It has no triangles; hosts that trace one give it a face group
// and bind a material to group 0. Members follow the mesh part in this order (a layout contract
// with the tracer module).
class QVSGPlane : public QVSGMesh
{
public:
    // Normal (0, 1, 0, 0), distance 0; class code QVSG_CLASS_PLANE.
    QVSGPlane();
    ~QVSGPlane() override;

    // Unit normal of dimension 4 (w = 0); the caller keeps it of length 1.
    QVVector& GetNormal() { return normal; }
    double GetDistance() const { return distance; }
    void SetDistance(double value) { distance = value; }

private:
    QVVector normal;
    double distance;
};
