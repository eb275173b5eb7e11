#pragma once

#include "gl/QVGL.h"
#include "platform/QVHandle.h"
#include "tests/renderers/opengl/GLTestPlatform.h"

#include <array>
#include <cstdint>

class QVRenderer;

// The built qvoglrenderer.qvm, loaded through the module manager and initialised with a window of
// its own at (10, 10); released, its window destroyed and the module released at the end. The
// renderer's context is current on the test's thread, so a test reads the GL state and the
// pixels itself.
class GLTestSession
{
public:
    GLTestSession(int width, int height, bool fullScreen = false, int x = 10, int y = 10);
    ~GLTestSession();
    GLTestSession(const GLTestSession&) = delete;
    GLTestSession& operator=(const GLTestSession&) = delete;

    // Whether the module was found and Init succeeded.
    bool IsReady() const { return ready; }
    QVRenderer* operator->() const { return renderer; }
    QVRenderer* Get() const { return renderer; }
    QVHandle GetWindow() const { return window; }

private:
    QVRenderer* renderer;
    QVHandle window;
    bool ready;
};

// In a test: skips without a display, else opens a session and stops the test unless it is ready.
#define OPEN_SESSION(name, ...)                                                                    \
    if (!GLTestPlatform::HasDisplay())                                                             \
        GTEST_SKIP() << "no display";                                                              \
    GLTestSession name(__VA_ARGS__);                                                               \
    ASSERT_TRUE(name.IsReady()) << "qvoglrenderer.qvm did not initialise"

using Rgb = std::array<int, 3>;

// The colour of pixel (x, y), counted from the bottom left, of the given buffer (after glFinish).
Rgb ReadRgb(int x, int y, GLenum buffer = GL_BACK);
// Whether every channel of actual is within tolerance of expected.
bool Near(const Rgb& actual, const Rgb& expected, int tolerance);
