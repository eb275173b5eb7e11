#include "renderers/raytracer/QVRaytracer.h"

#include "gl/QVGL.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGWorld.h"

#include <cstdlib>

namespace
{
// Multiplied by 255, truncated, low 8 bits, back to [0, 1].
float Quantised(double value)
{
    double scaled = value * 255.0;
    // Outside the int range truncation has no meaning; keep what fits.
    if (!(scaled > -2147483648.0 && scaled < 2147483648.0))
    {
        scaled = 0.0;
    }
    const int steps = static_cast<int>(scaled) & 0xFF;
    return static_cast<float>(static_cast<double>(steps) / 255.0);
}
}  // namespace

QVRaytracer::QVRaytracer()
    : hostWindow(nullptr), maximumDepth(3), world(nullptr), defaultMaterial(nullptr),
      instance(nullptr)
{
    SetName(QVString("QV Raytracer"));
    SetPlatform(QVString("All"));
    SetType(QVString("3D Renderer"));
}

QVRaytracer::~QVRaytracer()
{
    Release();
    gl.Destroy();
}

bool QVRaytracer::Init(RendererSetup* setup)
{
    Shutdown();
    hostWindow = setup->window;
    window = setup->window;
    instance = setup->instance;
    int width = 0;
    int height = 0;
    QVGLContext::GetClientSize(instance, hostWindow, width, height);
    viewportWidth = width;
    viewportHeight = height;
    image.Allocate(setup->width, setup->height);
    AttachToWindow(setup);
    ready = true;
    return true;
}

void QVRaytracer::Release() { image.Release(); }

void QVRaytracer::Reserved(void*) {}

int QVRaytracer::Resize(int width, int height)
{
    viewportWidth = width;
    viewportHeight = height;
    if (HasContext())
    {
        glViewport(0, 0, width, height);
    }
    SetProjection(nullptr);
    return 0;
}

void QVRaytracer::SetProjection(QVSGCamera*)
{
    if (!HasContext())
    {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, image.GetWidth(), 0.0, image.GetHeight(), -1.0, 1.0);
}

void QVRaytracer::SetView(QVSGCamera* camera)
{
    if (camera != nullptr)
    {
        image.SetView(*camera);
    }
}

int QVRaytracer::MakeCurrent()
{
    if (gl.MakeCurrent())
    {
        return 1;
    }
    gl.Destroy();
    gl.DestroyWindow();
    std::exit(-1);
}

void QVRaytracer::BeginFrame()
{
    MakeCurrent();
    if (!HasContext())
    {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDrawBuffer(GL_BACK);
}

int QVRaytracer::EndFrame() { return gl.SwapBuffers() ? 1 : 0; }

bool QVRaytracer::InitNode(QVSGNode* node)
{
    if (node != nullptr && (node->GetKindFlags() & QVSG_KIND_WORLD) != 0)
    {
        world = static_cast<QVSGWorld*>(node);
        defaultMaterial = &world->GetDefaultMaterial();
    }
    return true;
}

bool QVRaytracer::UpdateNode(QVSGNode*) { return true; }

bool QVRaytracer::ReleaseNode(QVSGNode*) { return true; }

bool QVRaytracer::EnableLighting(bool) { return true; }

bool QVRaytracer::SetLight(int, QVSGLight*) { return true; }

bool QVRaytracer::DrawNode(QVSGNode*) { return true; }

bool QVRaytracer::TestFrame(int) { return true; }

void QVRaytracer::Clear(bool colour, bool, bool)
{
    if (!HasContext())
    {
        return;
    }
    glClear(colour ? GL_COLOR_BUFFER_BIT : 0);
}

void QVRaytracer::SetClearColour(QVColor* colour)
{
    if (colour != nullptr && HasContext())
    {
        glClearColor(Quantised(colour->r), Quantised(colour->g), Quantised(colour->b),
                     Quantised(colour->a));
    }
}

bool QVRaytracer::RenderScene()
{
    // The world's nodes may have changed since the last frame; the snapshot is a few objects.
    scene.Capture(world);
    // Every primary ray starts at the eye: what depends on the origin alone is worked out once.
    if (image.GetCount() > 0)
    {
        scene.SetEye(image.GetRay(0).origin);
    }
    image.TracePass(scene, maximumDepth);
    image.TraceRowEnds(scene, maximumDepth);
    if (HasContext())
    {
        DrawImage();
    }
    return true;
}

void QVRaytracer::DrawImage()
{
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    for (int i = 0; i + 1 < height; ++i)
    {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j < width; ++j)
        {
            const PixelRay& upper = image.GetRay(i, j);
            const PixelRay& lower = image.GetRay(i + 1, j);
            // Incomplete columns are left out: the strip joins its neighbours and OpenGL
            // interpolates the colours across the gap.
            if (!upper.traced || !lower.traced)
            {
                continue;
            }
            glColor3f(static_cast<float>(upper.colour.r), static_cast<float>(upper.colour.g),
                      static_cast<float>(upper.colour.b));
            glVertex2i(j, height - i - 1);
            glColor3f(static_cast<float>(lower.colour.r), static_cast<float>(lower.colour.g),
                      static_cast<float>(lower.colour.b));
            glVertex2i(j, height - i - 2);
        }
        glEnd();
    }
}

void QVRaytracer::DrawAxes(float) {}

int QVRaytracer::PumpMessages() { return 0; }

bool QVRaytracer::CreateOwnWindow(RendererSetup*) { return true; }

bool QVRaytracer::AttachToWindow(RendererSetup* setup)
{
    if (setup == nullptr || setup->window == nullptr)
    {
        return false;
    }
    const bool attached = gl.Create(setup->instance, setup->window, 32);
    deviceContext = gl.GetDeviceContext();
    renderingContext = gl.GetRenderingContext();
    return attached;
}
