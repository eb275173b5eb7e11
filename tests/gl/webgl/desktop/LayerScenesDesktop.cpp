// The layer scenes drawn by the renderer modules with the desktop driver, each in a window of
// its own made as a host makes one; every frame is written as <folder>/<scene>.ppm. The modules
// are looked for beside the program. Exit code 77 without a display.
#include "gl/QVGLWindow.h"
#include "modules/LoadModuleAs.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "tests/gl/webgl/LayerScenes.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string>

namespace
{
bool WriteFrame(const std::string& path, int width, int height,
                const std::vector<std::uint8_t>& frame)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        return false;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    const bool written = std::fwrite(frame.data(), 1, frame.size(), file) == frame.size();
    return std::fclose(file) == 0 && written;
}

// Draws the scene and writes its frame; false with a message when a step fails.
bool WriteScene(Display* display, const std::string& moduleFolder, const LayerScene& scene,
                const std::string& folder)
{
    QVRenderer* renderer =
        LoadModuleAs<QVRenderer>(GetModManager(), (moduleFolder + scene.module).c_str());
    if (renderer == nullptr)
    {
        std::fprintf(stderr, "%s: no renderer module %s\n", scene.name, scene.module);
        return false;
    }
    QVGLWindow window;
    QVGLWindow::Request request = {};
    request.instance = display;
    request.x = 10;
    request.y = 10;
    request.width = scene.width;
    request.height = scene.height;
    request.depthBits = 24;
    request.stencilBits = 8;
    bool written = false;
    if (window.Create(request))
    {
        window.Show();
        RendererSetup setup =
            HostWindowSetup(display, window.GetWindow(), scene.width, scene.height);
        if (renderer->Init(&setup))
        {
            renderer->Resize(scene.width, scene.height);
            scene.draw(*renderer);
            written = WriteFrame(folder + "/" + scene.name + ".ppm", scene.width, scene.height,
                                 ReadFrame(scene.width, scene.height));
            renderer->Release();
        }
        XDestroyWindow(display, reinterpret_cast<Window>(window.GetWindow()));
    }
    if (!written)
    {
        std::fprintf(stderr, "%s: not drawn or not written\n", scene.name);
    }
    GetModManager().ReleaseModule(renderer);
    return written;
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <folder for the frames>\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
    {
        std::fprintf(stderr, "no display: nothing drawn\n");
        return 77;
    }
    const std::string program = argv[0];
    const std::string moduleFolder = program.substr(0, program.find_last_of('/') + 1);
    int result = 0;
    for (const LayerScene& scene : LayerScenes())
    {
        if (!WriteScene(display, moduleFolder, scene, argv[1]))
        {
            result = 1;
        }
    }
    return result;
}
