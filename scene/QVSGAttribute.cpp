#include "scene/QVSGAttribute.h"

#include "scene/QVSGKind.h"

QVSGAttribute::QVSGAttribute() : QVSGNode("noname") { AddKindFlags(QVSG_KIND_ATTRIBUTE); }

QVSGAttribute::~QVSGAttribute() = default;
