#include "renderers/QVRenderer.h"

QVRenderer::QVRenderer()
    : viewportWidth(0),
      viewportHeight(0),
      colourBits(0),
      depthBits(0),
      stencilBits(0),
      ready(false),
      window(nullptr),
      deviceContext(nullptr),
      renderingContext(nullptr)
{
}

QVRenderer::~QVRenderer() = default;
