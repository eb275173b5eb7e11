// What a renderer relies on: given only a Window item's window id and a connection to the same
// display (the program's instance handle), it can make a GLX context on the window and draw.
#include <gtest/gtest.h>

#include "ui/QVUIWindow.h"
#include "ui/x11/QVUIManagerX11.h"

#include <GL/gl.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

namespace
{

TEST(GlxWindow, RendererConnectionDrawsIntoAWindowItem)
{
    // What the Linux program entry passes on; like a program's, it stays open until the process
    // ends.
    static Display* instance = XOpenDisplay(nullptr);
    if (instance == nullptr)
        GTEST_SKIP() << "no display";
    int errorBase = 0, eventBase = 0;
    if (!glXQueryExtension(instance, &errorBase, &eventBase))
        GTEST_SKIP() << "no GLX on this display";

    QVUIManagerX11 manager;
    QVUIWindow window;
    window.SetManager(&manager);
    window.SetWidth(64);
    window.SetHeight(48);
    ASSERT_TRUE(window.Create());
    Window id = static_cast<Window>(reinterpret_cast<std::uintptr_t>(window.GetWindow()));

    // The renderer's side: the window's visual, found through its own connection.
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(instance, id, &attributes));
    XVisualInfo wanted = {};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(instance, VisualIDMask, &wanted, &count);
    ASSERT_NE(nullptr, visual);
    int rgba = 0, doubleBuffered = 0;
    glXGetConfig(instance, visual, GLX_RGBA, &rgba);
    glXGetConfig(instance, visual, GLX_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(rgba);
    EXPECT_TRUE(doubleBuffered);

    GLXContext context = glXCreateContext(instance, visual, nullptr, True);
    ASSERT_NE(nullptr, context);
    ASSERT_TRUE(glXMakeCurrent(instance, id, context));
    glViewport(0, 0, 64, 48);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    unsigned char pixel[4] = {0, 0, 0, 0};
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(255, pixel[0]);
    EXPECT_EQ(0, pixel[1]);
    EXPECT_EQ(0, pixel[2]);

    glXMakeCurrent(instance, None, nullptr);
    glXDestroyContext(instance, context);
    XFree(visual);
}

}  // namespace
