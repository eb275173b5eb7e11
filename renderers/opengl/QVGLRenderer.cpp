#include "renderers/opengl/QVGLRenderer.h"

#include "core/trace/QVTraceHook.h"
#include "gl/QVGL.h"
#include "renderers/opengl/GLEntryPoints.h"
#include "renderers/opengl/GLReport.h"
#include "renderers/opengl/TextLogFile.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"

#include <cmath>

namespace
{
const double kPi = 3.14159265358979323846;
// Near distance of the built-in projections: the single-precision 0.1.
const double kNear = static_cast<double>(0.1f);
const double kFar = 1000.0;

// Turn of the test frame's triangle, module-wide, in degrees.
float spinAngle = 0.0f;

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

// A symmetric frustum whose half height at the near plane is tan(fieldOfView) * near / 2.
void Perspective(double fieldOfView, double aspect, double nearPlane, double farPlane)
{
    const double top = std::tan(fieldOfView * kPi / 180.0) * nearPlane * 0.5;
    glFrustum(-top * aspect, top * aspect, -top, top, nearPlane, farPlane);
}

void SetLightColour(GLenum light, GLenum parameter, const QVColor& colour)
{
    const GLfloat rgba[4] = {static_cast<GLfloat>(colour.r), static_cast<GLfloat>(colour.g),
                             static_cast<GLfloat>(colour.b), static_cast<GLfloat>(colour.a)};
    glLightfv(light, parameter, rgba);
}
}  // namespace

QVGLRenderer::QVGLRenderer()
    : camera(nullptr), world(nullptr), log(nullptr), shaderEntryPoints(false)
{
    SetFileName(QVString("qvoglrenderer.qvm"));
    SetName(QVString("OpenGL Renderer"));
    SetPlatform(QVString("Win32/Linux"));
    SetType(QVString("3D Renderer"));
}

QVGLRenderer::~QVGLRenderer()
{
    Release();
    if (log != nullptr)
    {
        QVTraceHook::Remove(log);
        delete log;
    }
}

bool QVGLRenderer::Init(RendererSetup* setup)
{
    if (log == nullptr)
    {
        log = new TextLogFile("gl_output.txt");
    }
    log->Create();
    QVTraceHook::Report(nullptr, log);  // installs the sink, reports nothing
    ready = false;
    if (setup == nullptr)
    {
        return false;
    }
    viewportWidth = setup->width;
    viewportHeight = setup->height;
    colourBits = setup->colourBits;
    depthBits = setup->depthBits;
    stencilBits = setup->stencilBits;
    camera = nullptr;
    const bool made = setup->createOwnWindow != 0 ? CreateOwnWindow(setup) : AttachToWindow(setup);
    shaderEntryPoints = HasContext() && GLEntryPoints::LookUp();
    ready = made;
    return made;
}

void QVGLRenderer::Release()
{
    gl.Destroy();
    deviceContext = nullptr;
    renderingContext = nullptr;
    ownWindow.RestoreDisplayMode();
}

void QVGLRenderer::Reserved(void*) {}

int QVGLRenderer::Resize(int width, int height)
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

void QVGLRenderer::LoadProjection(QVSGCamera& from)
{
    float* matrix = from.GetProjection().ToFloat4x4();
    glLoadMatrixf(matrix);
    delete[] matrix;
}

void QVGLRenderer::SetProjection(QVSGCamera* newCamera)
{
    if (newCamera != nullptr)
    {
        camera = newCamera;
    }
    if (!HasContext())
    {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    if (camera != nullptr)
    {
        LoadProjection(*camera);
        return;
    }
    // The quotient of the two sizes as unsigned integers; a window without height (minimised)
    // must not divide by zero.
    const unsigned width = static_cast<unsigned>(viewportWidth);
    const unsigned height = viewportHeight != 0 ? static_cast<unsigned>(viewportHeight) : 1u;
    glLoadIdentity();
    Perspective(90.0, static_cast<double>(width / height), kNear, kFar);
}

void QVGLRenderer::SetView(QVSGCamera* viewCamera)
{
    if (viewCamera == nullptr || !HasContext())
    {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    float* matrix = viewCamera->GetView().ToFloat4x4();
    glLoadMatrixf(matrix);
    delete[] matrix;
}

int QVGLRenderer::MakeCurrent()
{
    if (gl.MakeCurrent())
    {
        return 1;
    }
    gl.Destroy();
    deviceContext = nullptr;
    renderingContext = nullptr;
    return 0;
}

void QVGLRenderer::BeginFrame()
{
    MakeCurrent();
    if (!HasContext())
    {
        return;
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDrawBuffer(GL_BACK);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glShadeModel(GL_SMOOTH);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
}

int QVGLRenderer::EndFrame() { return gl.SwapBuffers() ? 1 : 0; }

bool QVGLRenderer::EnableLighting(bool enable)
{
    if (HasContext())
    {
        if (enable)
        {
            glEnable(GL_LIGHTING);
        }
        else
        {
            glDisable(GL_LIGHTING);
        }
    }
    return true;
}

bool QVGLRenderer::SetLight(int index, QVSGLight* light)
{
    if (light == nullptr || index < 0 || index > 7 || !HasContext())
    {
        return true;
    }
    const GLenum number = static_cast<GLenum>(GL_LIGHT0 + index);
    glEnable(number);
    const QVVector& p = light->GetPosition();
    const GLfloat position[4] = {static_cast<GLfloat>(p[0]), static_cast<GLfloat>(p[1]),
                                 static_cast<GLfloat>(p[2]), 1.0f};
    glLightfv(number, GL_POSITION, position);
    SetLightColour(number, GL_AMBIENT, light->GetAmbient());
    SetLightColour(number, GL_DIFFUSE, light->GetDiffuse());
    SetLightColour(number, GL_SPECULAR, light->GetSpecular());
    return true;
}

bool QVGLRenderer::TestFrame(int)
{
    MakeCurrent();
    if (!HasContext())
    {
        return true;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    Perspective(45.0, 1.3333333333333333, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-45.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(-0.0f, 0.0f, 0.0f, 1.0f);
    glTranslatef(-15.0f, -15.0f, -15.0f);

    glClearColor(0.8f, 0.8f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawAxes(10.0f);

    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glRotatef(spinAngle, 1.0f, 1.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(-1.0f, 0.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 0.0f);
    glVertex3f(1.0f, 0.0f, 0.0f);
    glColor3f(1.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 1.5f, 0.0f);
    glEnd();
    glBegin(GL_POINTS);
    glColor3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    glPopMatrix();
    glPopAttrib();

    spinAngle += 0.1f;
    if (spinAngle > 360.0f)
    {
        spinAngle -= 360.0f;
    }
    gl.SwapBuffers();
    return true;
}

void QVGLRenderer::Clear(bool colour, bool depth, bool stencil)
{
    if (!HasContext())
    {
        return;
    }
    GLbitfield mask = 0;
    if (colour)
    {
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (depth)
    {
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (stencil)
    {
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
}

void QVGLRenderer::SetClearColour(QVColor* colour)
{
    if (colour != nullptr && HasContext())
    {
        glClearColor(Quantised(colour->r), Quantised(colour->g), Quantised(colour->b),
                     Quantised(colour->a));
    }
}

bool QVGLRenderer::RenderScene() { return false; }

void QVGLRenderer::DrawAxes(float length)
{
    if (!HasContext())
    {
        return;
    }
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(length, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, length, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, length);
    glEnd();
    glDisable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 1.0f, 1.0f);
    glPopAttrib();
}

int QVGLRenderer::PumpMessages() { return ownWindow.PumpMessage(window) ? 18 : 0; }

bool QVGLRenderer::CreateOwnWindow(RendererSetup* setup)
{
    if (setup == nullptr)
    {
        return false;
    }
    QVGLWindow::Request request = {};
    request.instance = setup->instance;
    request.windowProcedure = setup->windowProcedure;
    request.x = setup->x;
    request.y = setup->y;
    request.width = viewportWidth;
    request.height = viewportHeight;
    request.colourBits = colourBits;
    request.depthBits = depthBits;
    request.stencilBits = stencilBits;
    request.fullScreen = setup->fullScreen != 0;
    if (ownWindow.GetWindow() == nullptr && !ownWindow.Create(request))
    {
        return false;
    }
    setup->window = ownWindow.GetWindow();
    if (!AttachToWindow(setup))
    {
        return false;
    }
    ownWindow.Show();
    MakeCurrent();
    if (HasContext())
    {
        WriteGLReport();
    }
    Resize(viewportWidth, viewportHeight);
    return true;
}

bool QVGLRenderer::AttachToWindow(RendererSetup* setup)
{
    if (setup == nullptr || setup->window == nullptr)
    {
        return false;
    }
    window = setup->window;
    const bool attached =
        gl.Create(setup->instance, setup->window, colourBits, depthBits, stencilBits);
    deviceContext = gl.GetDeviceContext();
    renderingContext = gl.GetRenderingContext();
    return attached;
}
