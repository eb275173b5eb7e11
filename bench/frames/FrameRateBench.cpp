// Frames per second of the OpenGL renderer module against the fastest plain use of the same GL.
//
// Three scenes go through the real qvoglrenderer.qvm into a 400 x 300 window of its own, a fixed
// number of frames each: (a) the 65,535-face sheet of the 3D Studio loading benchmark, lit;
// (b) the spinner applet's textured cube, turning; (c) the demonstration scene. Right after each,
// in the same context, a reference of our own (ReferenceDraw) draws the same triangles with
// vertex arrays in one call per frame: what the implementation can do at most. The rounds
// alternate ours and the reference so that both meet the same load; the table gives the median
// of the rounds, the ratio ours / reference, and how many pixels each frame covered (the two
// should be close: the same triangles were drawn).
//
// Usage, from the program's folder (the renderer and loader modules lie there):
//   FrameRateBench [rounds [spinner-data-folder]]
// Goal: ratio >= 0.8 for (a) and (b).
#include "apps/framework/QVApplication.h"
#include "bench/frames/FrameScenes.h"
#include "bench/frames/ReferenceDraw.h"
#include "gl/QVGL.h"
#include "modules/LoadModuleAs.h"
#include "modules/QVModManager.h"
#include "renderers/QVRenderer.h"
#include "renderers/RendererSetup.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGWorld.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace
{
const int kWidth = 400;
const int kHeight = 300;

struct Entry
{
    const char* name;
    int frames;
    std::unique_ptr<FrameScene> scene;
    ReferenceDraw reference;
    std::vector<double> oursFps;
    std::vector<double> referenceFps;
    long oursCovered = 0;
    long referenceCovered = 0;
};

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Frames per second of frames calls of draw, finished.
double Measure(int frames, const std::function<void(int)>& draw)
{
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        draw(i);
    glFinish();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return seconds > 0.0 ? frames / seconds : 0.0;
}

// Pixels of the frame shown last that differ from the background.
long Covered(const QVColor& background)
{
    std::vector<unsigned char> pixels(kWidth * kHeight * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return CountCovered(pixels, 3, background);
}

class FrameRateBenchApp : public QVApplication
{
public:
    int RunArgs(QVArray<QVString>& words) override;

private:
    bool Prepare(QVRenderer& renderer, Entry& entry);
    void Round(QVRenderer& renderer, Entry& entry);
};

FrameRateBenchApp app;

bool FrameRateBenchApp::Prepare(QVRenderer& renderer, Entry& entry)
{
    std::string error;
    if (!entry.scene->Load(error))
    {
        std::fprintf(stderr, "FrameRateBench: %s: %s\n", entry.name, error.c_str());
        return false;
    }
    entry.scene->Bind(&renderer);
    renderer.MakeCurrent();
    // The camera's matrices as the renderer loads them, for the reference.
    float projection[16];
    float view[16];
    renderer.SetProjection(&entry.scene->Camera());
    renderer.SetView(&entry.scene->Camera());
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    entry.reference.Build(entry.scene->Meshes(), entry.scene->Moves());
    entry.reference.SetCamera(projection, view, entry.scene->World().GetBackground());
    if (entry.scene->Texture() != nullptr)
        entry.reference.SetTexture(*entry.scene->Texture());
    entry.scene->Unbind(&renderer);
    return true;
}

void FrameRateBenchApp::Round(QVRenderer& renderer, Entry& entry)
{
    FrameScene& scene = *entry.scene;
    scene.Bind(&renderer);
    QVSGWorld& world = scene.World();
    entry.oursFps.push_back(Measure(entry.frames,
                                    [&](int frame)
                                    {
                                        scene.Animate(frame);
                                        world.Render();
                                    }));
    entry.oursCovered = Covered(world.GetBackground());
    scene.Unbind(&renderer);
    renderer.MakeCurrent();
    entry.referenceFps.push_back(Measure(entry.frames,
                                         [&](int frame)
                                         {
                                             scene.Animate(frame);
                                             entry.reference.DrawFrame();
                                             renderer.EndFrame();
                                         }));
    entry.referenceCovered = Covered(world.GetBackground());
}

int FrameRateBenchApp::RunArgs(QVArray<QVString>& words)
{
    std::vector<std::string> args;
    for (int i = 0; i < words.GetSize(); ++i)
    {
        if (words[i].GetLength() > 0)
            args.emplace_back(words[i].GetBuffer());
    }
    const int rounds = args.size() > 0 ? std::max(1, std::atoi(args[0].c_str())) : 3;
    const std::string spinnerData = args.size() > 1 ? args[1] : "framebench-data";

    QVRenderer* renderer = LoadModuleAs<QVRenderer>(GetModManager(), "qvoglrenderer.qvm");
    if (renderer == nullptr)
    {
        std::fprintf(stderr, "FrameRateBench: qvoglrenderer.qvm not found\n");
        return 1;
    }
    RendererSetup setup = {};
    setup.createOwnWindow = 1;
    setup.x = 10;
    setup.y = 10;
    setup.width = kWidth;
    setup.height = kHeight;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = GetInstance();
    if (!renderer->Init(&setup))
    {
        std::fprintf(stderr, "FrameRateBench: the renderer could not open its window\n");
        GetModManager().ReleaseModule(renderer);
        return 1;
    }

    Entry entries[3];
    entries[0].name = "(a) sheet, 65535 faces";
    entries[0].frames = 40;
    entries[0].scene = MakeSheetScene();
    entries[1].name = "(b) spinner cube";
    entries[1].frames = 600;
    entries[1].scene = MakeSpinnerScene(spinnerData);
    entries[2].name = "(c) demo scene";
    entries[2].frames = 200;
    entries[2].scene = MakeDemoFrameScene();
    int status = 0;
    for (Entry& entry : entries)
        status = Prepare(*renderer, entry) ? status : 1;
    if (status == 0)
    {
        for (int round = 0; round < rounds; ++round)
        {
            for (Entry& entry : entries)
                Round(*renderer, entry);
        }
        std::printf("GL: %s, %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)),
                    reinterpret_cast<const char*>(glGetString(GL_VERSION)));
        std::printf("%dx%d, median of %d rounds\n", kWidth, kHeight, rounds);
        std::printf("%-24s %9s %7s %10s %10s %7s %10s %10s\n", "scene", "triangles", "frames",
                    "ours fps", "ref fps", "ratio", "ours px", "ref px");
        for (Entry& entry : entries)
        {
            const double ours = Median(entry.oursFps);
            const double reference = Median(entry.referenceFps);
            std::printf("%-24s %9d %7d %10.1f %10.1f %7.3f %10ld %10ld\n", entry.name,
                        entry.reference.GetTriangleCount(), entry.frames, ours, reference,
                        reference > 0.0 ? ours / reference : 0.0, entry.oursCovered,
                        entry.referenceCovered);
        }
        std::printf("Goal: ratio >= 0.8 for (a) and (b).\n");
    }
    renderer->Release();
    GetModManager().ReleaseModule(renderer);
    return status;
}
}  // namespace
