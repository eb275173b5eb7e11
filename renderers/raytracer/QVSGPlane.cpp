#include "renderers/raytracer/QVSGPlane.h"

#include "scene/QVSGKind.h"

QVSGPlane::QVSGPlane() : normal(4), distance(0.0)
{
    ClassId = QVSG_CLASS_PLANE;
    normal[1] = 1.0;
}

QVSGPlane::~QVSGPlane() = default;
