#pragma once

#include "scene/QVSGNode.h"

// A node that has a place in space: cameras, lights, meshes. Adds its kind bit only. Only
// drawables are built from it, so a node with the spatial bit can always be asked to draw.
class QVSGSpatial : public QVSGNode
{
public:
    ~QVSGSpatial() override;

protected:
    // Named "noname", kind bit QVSG_KIND_SPATIAL.
    QVSGSpatial();
};
