// Full screen on X11: the renderer switches the screen with XRandR only to a size the server
// offers, and puts the old size back when it is released or the program ends. The test display
// offers one size of its own; the tests add another for the time they run.
#include <gtest/gtest.h>

#include "renderers/QVRenderer.h"
#include "renderers/opengl/QVGLRenderer.h"
#include "tests/renderers/opengl/GLTestPlatform.h"
#include "tests/renderers/opengl/GLTestSession.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
struct Size
{
    int width = 0;
    int height = 0;
    bool operator==(const Size& other) const
    {
        return width == other.width && height == other.height;
    }
};

std::ostream& operator<<(std::ostream& out, const Size& size)
{
    return out << size.width << " x " << size.height;
}

Display* TestDisplay() { return static_cast<Display*>(GLTestPlatform::ProgramInstance()); }

Size ScreenSize()
{
    Display* display = TestDisplay();
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, DefaultRootWindow(display));
    int count = 0;
    XRRScreenSize* sizes = XRRConfigSizes(config, &count);
    Rotation rotation = 0;
    const SizeID current = XRRConfigCurrentConfiguration(config, &rotation);
    Size size{sizes[current].width, sizes[current].height};
    XRRFreeScreenConfigInfo(config);
    return size;
}

// A mode of the given size offered on the first output while the object lives. A mode of that
// name offered already (by the test that started this program) is used as it is.
class OfferedMode
{
public:
    OfferedMode(int width, int height) : display(TestDisplay())
    {
        const Window root = DefaultRootWindow(display);
        XRRScreenResources* resources = XRRGetScreenResources(display, root);
        if (resources == nullptr || resources->noutput < 1)
        {
            if (resources != nullptr)
                XRRFreeScreenResources(resources);
            return;
        }
        output = resources->outputs[0];
        name = std::to_string(width) + "x" + std::to_string(height) + "_test";
        for (int i = 0; i < resources->nmode; ++i)
        {
            if (name == resources->modes[i].name)
                existing = true;
        }
        XRRFreeScreenResources(resources);
        if (existing)
            return;
        XRRModeInfo info = {};
        info.width = static_cast<unsigned>(width);
        info.height = static_cast<unsigned>(height);
        info.hTotal = info.width;
        info.vTotal = info.height;
        info.dotClock = 60ul * info.hTotal * info.vTotal;
        info.name = &name[0];
        info.nameLength = static_cast<unsigned>(name.size());
        mode = XRRCreateMode(display, root, &info);
        XRRAddOutputMode(display, output, mode);
        XSync(display, False);
    }
    ~OfferedMode()
    {
        if (mode != 0)
        {
            XRRDeleteOutputMode(display, output, mode);
            XRRDestroyMode(display, mode);
            XSync(display, False);
        }
    }
    bool IsOffered() const { return existing || mode != 0; }

private:
    Display* display;
    bool existing = false;
    RROutput output = 0;
    RRMode mode = 0;
    std::string name;
};

bool IsFullScreen(GLTestSession& gl)
{
    return static_cast<QVGLRenderer*>(gl.Get())->IsFullScreen();
}

#define REQUIRE_DISPLAY()                                                                          \
    if (TestDisplay() == nullptr)                                                                  \
    GTEST_SKIP() << "no display"
}  // namespace

TEST(GLFullScreen, AnOfferedSizeIsSwitchedToAndPutBackOnRelease)
{
    REQUIRE_DISPLAY();
    const Size before = ScreenSize();
    OfferedMode offered(640, 480);
    ASSERT_TRUE(offered.IsOffered());
    {
        GLTestSession gl(640, 480, true, 0, 0);
        ASSERT_TRUE(gl.IsReady());
        EXPECT_TRUE(IsFullScreen(gl));
        EXPECT_EQ(ScreenSize(), (Size{640, 480}));
        // The frame fills the switched screen.
        EXPECT_EQ(gl->GetViewportWidth(), 640);
        gl->Release();
        EXPECT_EQ(ScreenSize(), before);
    }
    EXPECT_EQ(ScreenSize(), before);
}

TEST(GLFullScreen, TheScreensOwnSizeSucceedsWithoutAChange)
{
    REQUIRE_DISPLAY();
    const Size before = ScreenSize();
    GLTestSession gl(before.width, before.height, true, 0, 0);
    ASSERT_TRUE(gl.IsReady());
    EXPECT_TRUE(IsFullScreen(gl));
    EXPECT_EQ(ScreenSize(), before);
}

TEST(GLFullScreen, ASizeTheServerDoesNotOfferStaysWindowed)
{
    REQUIRE_DISPLAY();
    const Size before = ScreenSize();
    GLTestSession gl(300, 200, true);
    ASSERT_TRUE(gl.IsReady());
    EXPECT_FALSE(IsFullScreen(gl));
    EXPECT_EQ(ScreenSize(), before);
}

TEST(GLFullScreen, TheModeIsPutBackWhenTheProgramEnds)
{
    REQUIRE_DISPLAY();
    const Size before = ScreenSize();
    OfferedMode offered(640, 480);
    ASSERT_TRUE(offered.IsOffered());
    // In a program of its own (with its own display connection) that ends without releasing
    // the renderer.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            GLTestSession* gl = new GLTestSession(640, 480, true, 0, 0);
            std::exit(gl->IsReady() && IsFullScreen(*gl) && ScreenSize() == (Size{640, 480}) ? 0
                                                                                             : 3);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ScreenSize(), before);
}
