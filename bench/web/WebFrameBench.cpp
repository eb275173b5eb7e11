// The frame-rate benchmark's scenes drawn in a web page, for bench/web/frames_bench.mjs: the
// OpenGL renderer module compiled into the program draws (a) the 65,535-face sheet, (b) the
// spinner's textured cube and (c) the demonstration scene through the web GL layer into a
// 400 x 300 canvas, a fixed number of frames each, timed as the desktop FrameRateBench times
// them: from a finished GL to the last frame read back. The reference (the same triangles in one
// vertex-array draw per frame) takes turns with ours in the same context.
//
// The page writes the spinner's files to /framebench-data, then calls QVFrameBenchPrepare()
// once and QVFrameBenchRound(scene, reference) per measurement (frames per second);
// QVFrameBenchInfo(scene, what) answers triangles (0), frames (1) and the pixels the last
// frame covered (2).
#include "bench/frames/FrameScenes.h"
#include "bench/frames/ReferenceDraw.h"
#include "gl/QVGL.h"
#include "modules/LoadModuleAs.h"
#include "modules/QVModManager.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "scene/QVSGWorld.h"

#include <emscripten/emscripten.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace
{
const int kWidth = 400;
const int kHeight = 300;

// A window element as the UI manager makes them: a "qvwin-N" div holding its canvas.
EM_JS(int, MakeBenchWindowElement, (int width, int height), {
    const div = document.createElement("div");
    div.id = "qvwin-1";
    div.style.cssText = "position:relative;width:" + width + "px;height:" + height + "px";
    const canvas = document.createElement("canvas");
    canvas.id = "qvwin-1-canvas";
    canvas.width = width;
    canvas.height = height;
    div.appendChild(canvas);
    document.body.appendChild(div);
    return 1;
});

struct Entry
{
    int frames;
    std::unique_ptr<FrameScene> scene;
    ReferenceDraw reference;
    long covered = 0;
};

QVRenderer* renderer = nullptr;
Entry entries[3];
const int kScenes = 3;

// Pixels of the frame drawn last that differ from the background; the read-back also waits for
// the GPU to finish everything before it.
long Covered(const QVColor& background)
{
    std::vector<unsigned char> pixels(kWidth * kHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return CountCovered(pixels, 4, background);
}

// One pixel read back: glFinish alone does not make WebGL wait for the GPU.
void FinishGpu()
{
    unsigned char pixel[4];
    glFinish();
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
}

bool Prepare(Entry& entry)
{
    std::string error;
    if (!entry.scene->Load(error))
    {
        std::fprintf(stderr, "WebFrameBench: %s\n", error.c_str());
        return false;
    }
    entry.scene->Bind(renderer);
    renderer->MakeCurrent();
    float projection[16];
    float view[16];
    renderer->SetProjection(&entry.scene->Camera());
    renderer->SetView(&entry.scene->Camera());
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    entry.reference.Build(entry.scene->Meshes(), entry.scene->Moves());
    entry.reference.SetCamera(projection, view, entry.scene->World().GetBackground());
    if (entry.scene->Texture() != nullptr)
        entry.reference.SetTexture(*entry.scene->Texture());
    entry.scene->Unbind(renderer);
    return true;
}
}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int QVFrameBenchPrepare()
{
    if (renderer != nullptr)
        return 1;
    renderer = LoadModuleAs<QVRenderer>(GetModManager(), "qvoglrenderer.qvm");
    if (renderer == nullptr)
        return 0;
    const int window = MakeBenchWindowElement(kWidth, kHeight);
    RendererSetup setup = HostWindowSetup(
        nullptr, reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(window)), kWidth, kHeight);
    if (!renderer->Init(&setup))
        return 0;
    renderer->Resize(kWidth, kHeight);
    entries[0].frames = 40;
    entries[0].scene = MakeSheetScene();
    entries[1].frames = 600;
    entries[1].scene = MakeSpinnerScene("/framebench-data");
    entries[2].frames = 200;
    entries[2].scene = MakeDemoFrameScene();
    for (Entry& entry : entries)
    {
        if (!Prepare(entry))
            return 0;
    }
    return 1;
}

// Frames per second of one run of the scene's frames, by the renderer or by the reference.
extern "C" EMSCRIPTEN_KEEPALIVE double QVFrameBenchRound(int scene, int reference)
{
    if (renderer == nullptr || scene < 0 || scene >= kScenes)
        return 0.0;
    Entry& entry = entries[scene];
    FrameScene& frames = *entry.scene;
    frames.Bind(renderer);
    if (reference != 0)
    {
        frames.Unbind(renderer);
        renderer->MakeCurrent();
    }
    QVSGWorld& world = frames.World();
    FinishGpu();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < entry.frames; ++i)
    {
        frames.Animate(i);
        if (reference != 0)
        {
            entry.reference.DrawFrame();
            renderer->EndFrame();
        }
        else
        {
            world.Render();
        }
    }
    FinishGpu();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    entry.covered = Covered(world.GetBackground());
    if (reference == 0)
        frames.Unbind(renderer);
    return seconds > 0.0 ? entry.frames / seconds : 0.0;
}

extern "C" EMSCRIPTEN_KEEPALIVE int QVFrameBenchInfo(int scene, int what)
{
    if (scene < 0 || scene >= kScenes)
        return 0;
    const Entry& entry = entries[scene];
    switch (what)
    {
    case 0:
        return entry.reference.GetTriangleCount();
    case 1:
        return entry.frames;
    default:
        return static_cast<int>(entry.covered);
    }
}

// Nothing to do until the page calls QVFrameBenchPrepare.
int main() { return 0; }
