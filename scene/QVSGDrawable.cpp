#include "scene/QVSGDrawable.h"

#include "renderers/QVRenderer.h"

QVSGDrawable::QVSGDrawable()
{
    HardReady = false;
    Visible = true;
}

QVSGDrawable::~QVSGDrawable() = default;

bool QVSGDrawable::Draw(QVRenderer* renderer)
{
    if (!HardReady || !Visible || renderer == nullptr)
    {
        return false;
    }
    return renderer->DrawNode(this);
}
