#pragma once

#include "scene/QVSGNode.h"

// A node that describes how something looks rather than where it is: materials, images. Adds its
// kind bit only.
class QVSGAttribute : public QVSGNode
{
public:
    // Named "noname", kind bit QVSG_KIND_ATTRIBUTE.
    QVSGAttribute();
    ~QVSGAttribute() override;
};
