#pragma once

#include "scene/QVSGMesh.h"

#include <cstdint>

// A latitude/longitude sphere around the node's position. The ray tracer intersects it
// analytically by its radius (kept in the transform's size too); BuildSphere makes the triangle
// mesh for renderers that draw meshes.
class QVSGSphere : public QVSGMesh
{
public:
    // Class code QVSG_CLASS_SPHERE in the node and as the tag of its loader collection.
    QVSGSphere(double radius, std::int32_t segments);
    ~QVSGSphere() override;

    // Stores the radius here and in the transform's size.
    void SetRadius(double value);
    double GetRadius() const { return radius; }
    // Stores n when greater than 1, else 2.
    void SetSegments(std::int32_t n);
    std::int32_t GetSegments() const { return segments; }

    // Replaces the geometry: with N segments, (N + 1)(2N + 1) vertices on N + 1 rows of latitude,
    // 4N^2 triangles (12N^2 indices), one face group with private copies of vertices and
    // triangles. Texture coordinates run from 0 to 0.5. False when memory is not available.
    bool BuildSphere();

private:
    double radius;
    std::int32_t segments;
};
