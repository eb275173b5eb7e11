#include "scene/QVSGTransform.h"

#include "scene/QVSGKind.h"

QVSGTransform::QVSGTransform()
    : reservedWord(0), colour(0u), position(3), rotation(3), scale(3), auxiliaryValue(0.0),
      auxiliaryFlag(true), size(0.0)
{
    scale.Set(1.0, 1.0, 1.0);
    ClassId = QVSG_CLASS_TRANSFORM;
}

QVSGTransform::~QVSGTransform() = default;

bool QVSGTransform::Prepare() { return true; }
