// The layer scenes drawn by the OpenGL renderer with the desktop driver, each in a window of the
// renderer's own; every frame is written as <folder>/<scene>.ppm. Exit code 77 without a display.
#include "renderers/RendererSetup.h"
#include "renderers/opengl/QVGLRenderer.h"
#include "tests/webgl/LayerScenes.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string>

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
    int result = 0;
    for (const LayerScene& scene : LayerScenes())
    {
        QVGLRenderer renderer;
        RendererSetup setup = {};
        setup.createOwnWindow = 1;
        setup.x = 10;
        setup.y = 10;
        setup.width = scene.width;
        setup.height = scene.height;
        setup.colourBits = 32;
        setup.depthBits = 24;
        setup.stencilBits = 8;
        setup.instance = display;
        if (!renderer.Init(&setup))
        {
            std::fprintf(stderr, "%s: the renderer could not open its window\n", scene.name);
            result = 1;
            continue;
        }
        renderer.Resize(scene.width, scene.height);
        scene.draw(renderer);
        const std::vector<std::uint8_t> frame = ReadFrame(scene.width, scene.height);
        const std::string path = std::string(argv[1]) + "/" + scene.name + ".ppm";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr)
        {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::fprintf(file, "P6\n%d %d\n255\n", scene.width, scene.height);
        std::fwrite(frame.data(), 1, frame.size(), file);
        std::fclose(file);
        XDestroyWindow(display, reinterpret_cast<Window>(setup.window));
        renderer.Release();
    }
    return result;
}
