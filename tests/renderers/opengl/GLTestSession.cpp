#include "tests/renderers/opengl/GLTestSession.h"

#include "modules/QVModManager.h"
#include "renderers/QVRenderer.h"
#include "renderers/RendererSetup.h"
#include "tests/renderers/opengl/GLTestPlatform.h"

#include <cstdlib>

GLTestSession::GLTestSession(int width, int height, bool fullScreen, int x, int y)
    : renderer(nullptr), window(nullptr), ready(false)
{
    QVModule* module = GetModManager().LoadModule("qvoglrenderer.qvm");
    if (module == nullptr || !GLTestPlatform::HasDisplay())
    {
        return;
    }
    renderer = static_cast<QVRenderer*>(module);
    RendererSetup setup = {};
    setup.createOwnWindow = 1;
    setup.x = x;
    setup.y = y;
    setup.fullScreen = fullScreen ? 1 : 0;
    setup.width = width;
    setup.height = height;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = GLTestPlatform::ProgramInstance();
    ready = renderer->Init(&setup);
    window = setup.window;
}

GLTestSession::~GLTestSession()
{
    if (renderer == nullptr)
    {
        return;
    }
    renderer->Release();
    GLTestPlatform::DestroyWindow(window);
    GetModManager().ReleaseModule(renderer);
}

Rgb ReadRgb(int x, int y, GLenum buffer)
{
    glFinish();
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    unsigned char pixel[3] = {0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    return {pixel[0], pixel[1], pixel[2]};
}

bool Near(const Rgb& actual, const Rgb& expected, int tolerance)
{
    for (int i = 0; i < 3; ++i)
    {
        if (std::abs(actual[i] - expected[i]) > tolerance)
        {
            return false;
        }
    }
    return true;
}
