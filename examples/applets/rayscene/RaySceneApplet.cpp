#include "RaySceneApplet.h"

#include "apps/common/DemoScene.h"
#include "core/math/QVVector.h"
#include "modules/LoadModuleAs.h"
#include "modules/ModuleExport.h"
#include "modules/RunTimePath.h"
#include "platform/Directory.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "ui/QVUIManager.h"

#include <chrono>
#include <cstdio>
#include <string>

QV_DEFINE_MODULE(RaySceneApplet)

namespace
{
const char* const RendererFile = "qvraytracer.qvm";
const char* const ReportFile = "rayscene-applet.txt";
const int KeyS = 0x53;
const int KeyZ = 0x5A;

std::string Narrow(const QVString& text)
{
    QVString copy(text);
    copy.SetEncoding(QVString::Narrow);
    return copy.GetLength() > 0 ? std::string(copy.GetBuffer()) : std::string();
}

// Frames until the tracer's picture is whole: it refines over width / 10 levels, one per frame,
// and the frame after the last level draws the last rays.
int FramesToComplete(int width) { return width / 10 + 2; }
}  // namespace

RaySceneApplet::RaySceneApplet()
    : m_window(nullptr), m_parameters(nullptr), m_renderer(nullptr), m_viewChanged(true)
{
    SetFileName(QVString("raysceneapplet.qvm"));
    SetName(QVString("Ray Scene Applet"));
    SetPlatform(QVString("All"));
}

RaySceneApplet::~RaySceneApplet() = default;

bool RaySceneApplet::Init(QVUIWindow* window, QVAppletHost*, QVProperties* parameters)
{
    m_window = window;
    m_parameters = parameters;
    return true;
}

int RaySceneApplet::Run()
{
    QVUIManager* manager = m_window != nullptr ? m_window->GetManager() : nullptr;
    if (manager == nullptr)
        return 1;
    QVString directory;
    if (m_parameters != nullptr)
        m_parameters->Get(QVString("@temp_path"), directory);
    // The ray tracer is found in the working directory (the package brings it on the desktop).
    if (directory.GetLength() > 0)
        ChangeDirectory(Narrow(directory).c_str());

    m_renderer = LoadModuleAs<QVRenderer>(GetModManager(), RendererFile);
    if (m_renderer == nullptr)
    {
        QVString text("The ray scene cannot start: the ray tracer module (qvraytracer.qvm) was "
                      "not found");
        QVString caption("Ray scene");
        manager->ShowMessage(text, caption);
        return 1;
    }
    RendererSetup setup = HostWindowSetup(nullptr, m_window->GetWindow(), m_window->GetWidth(),
                                          m_window->GetHeight());
    m_renderer->Init(&setup);
    m_renderer->Resize(setup.width, setup.height);

    m_scene.reset(new DemoScene());
    m_scene->Build();
    m_scene->Bind(m_renderer);
    m_window->SetListener(this);

    const int complete = FramesToComplete(setup.width);
    int frames = 0;
    auto start = std::chrono::steady_clock::now();
    bool wait = false;
    while (manager->ProcessMessages(m_window, wait))
    {
        if (m_window->IsClosed())
            continue;
        if (m_viewChanged)
        {
            m_viewChanged = false;
            frames = 0;
            start = std::chrono::steady_clock::now();
        }
        m_scene->world.Render();
        if (++frames == complete)
            WriteReport(frames, std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - start)
                                    .count());
        // A whole picture stays as it is until something happens.
        wait = frames >= complete;
    }
    m_window->SetListener(m_window);
    m_scene->world.ReleaseHard(m_renderer);
    m_renderer->Release();
    GetModManager().ReleaseModule(m_renderer);
    m_renderer = nullptr;
    m_scene.reset();
    return 0;
}

void RaySceneApplet::OnKeyDown(QVUIItem*, unsigned short, int key)
{
    if (!m_scene)
        return;
    switch (key & 0xFFFF)
    {
    case KeyZ:
        m_scene->camera.Move(QVVector(0.0, 0.0, 1.0));
        m_viewChanged = true;
        break;
    case KeyS:
        m_scene->camera.Move(QVVector(0.0, 0.0, -1.0));
        m_viewChanged = true;
        break;
    default:
        break;
    }
}

void RaySceneApplet::OnSize(QVUIItem*, int width, int height)
{
    if (m_renderer != nullptr)
        m_renderer->Resize(width, height);
    m_viewChanged = true;
}

void RaySceneApplet::WriteReport(int frames, double milliseconds)
{
    QVString directory;
    if (m_parameters == nullptr || !m_parameters->Get(QVString("@temp_path"), directory))
        return;
    const std::string path = Narrow(directory) + QVPathSeparator() + ReportFile;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return;
    std::fprintf(file, "complete %d %.1f\n", frames, milliseconds);
    std::fclose(file);
}
