// The layer scenes drawn in the page, each in a window element of its own, by the renderer modules
// compiled into the page's program, through the web GL layer. Every frame goes back to the test's
// server (POST /frame/<name>) with the GL error the scene left; POST /done ends the run.
#include "gl/QVGL.h"
#include "modules/LoadModuleAs.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "tests/gl/webgl/LayerScenes.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>

namespace
{
// A window element as the UI manager makes them: a "qvwin-N" div holding its canvas.
EM_JS(int, MakeSceneWindowElement, (int width, int height), {
    const number = globalThis.__qvNextWindowId = (globalThis.__qvNextWindowId || 1);
    globalThis.__qvNextWindowId = number + 1;
    const div = document.createElement("div");
    div.id = "qvwin-" + number;
    div.style.cssText = "position:relative;width:" + width + "px;height:" + height + "px";
    const canvas = document.createElement("canvas");
    canvas.id = "qvwin-" + number + "-canvas";
    canvas.width = width;
    canvas.height = height;
    div.appendChild(canvas);
    document.body.appendChild(div);
    return number;
});

EM_JS(void, PostToTestServer, (const char* path, const std::uint8_t* data, int size), {
    const request = new XMLHttpRequest();
    request.open("POST", UTF8ToString(path), false);
    request.send(size > 0 ? HEAPU8.slice(data, data + size) : "");
});

void PostText(const std::string& path) { PostToTestServer(path.c_str(), nullptr, 0); }

// Draws the scene and posts its frame; false when the renderer cannot be had.
bool PostScene(const LayerScene& scene)
{
    QVRenderer* renderer = LoadModuleAs<QVRenderer>(GetModManager(), scene.module);
    if (renderer == nullptr)
        return false;
    const int window = MakeSceneWindowElement(scene.width, scene.height);
    RendererSetup setup =
        HostWindowSetup(nullptr, reinterpret_cast<QVHandle>(static_cast<std::intptr_t>(window)),
                        scene.width, scene.height);
    const bool ready = renderer->Init(&setup);
    if (ready)
    {
        renderer->Resize(scene.width, scene.height);
        scene.draw(*renderer);
        const GLenum error = glGetError();
        const std::vector<std::uint8_t> frame = ReadFrame(scene.width, scene.height);
        const std::string path =
            std::string("/frame/") + scene.name + "?width=" + std::to_string(scene.width) +
            "&height=" + std::to_string(scene.height) + "&error=" + std::to_string(error);
        PostToTestServer(path.c_str(), frame.data(), static_cast<int>(frame.size()));
        renderer->Release();
    }
    GetModManager().ReleaseModule(renderer);
    return ready;
}
}  // namespace

int main()
{
    for (const LayerScene& scene : LayerScenes())
    {
        if (!PostScene(scene))
        {
            PostText(std::string("/fail/") + scene.name);
        }
    }
    PostText("/done");
    return 0;
}
