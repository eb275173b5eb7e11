#pragma once

#include "scene/QVSGSpatial.h"

// A spatial node that a renderer can be asked to draw.
class QVSGDrawable : public QVSGSpatial
{
public:
    QVSGDrawable();
    ~QVSGDrawable() override;

    // Slot 9. Hands a bound, visible node to the renderer's DrawNode and returns its answer;
    // false without reaching the renderer when the node is unbound or hidden.
    virtual bool Draw(QVRenderer* renderer);
};
