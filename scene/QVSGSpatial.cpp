#include "scene/QVSGSpatial.h"

#include "scene/QVSGKind.h"

QVSGSpatial::QVSGSpatial() : QVSGNode("noname") { AddKindFlags(QVSG_KIND_SPATIAL); }

QVSGSpatial::~QVSGSpatial() = default;
