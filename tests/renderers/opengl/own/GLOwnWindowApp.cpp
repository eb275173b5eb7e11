#include "tests/renderers/opengl/own/GLOwnWindowApp.h"

#include "modules/QVModManager.h"
#include "renderers/QVRenderer.h"
#include "renderers/RendererSetup.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

GLOwnWindowApp ownWindowApp;

int GLOwnWindowApp::Run() { return -1; }

int GLOwnWindowApp::RunArgs(QVArray<QVString>& words)
{
    std::vector<std::string> args;
    for (int i = 0; i < words.GetSize(); ++i)
    {
        if (words[i].GetLength() > 0)
            args.emplace_back(words[i].GetBuffer());
    }
    RendererSetup setup = {};
    setup.createOwnWindow = 1;
    setup.colourBits = 32;
    setup.depthBits = 24;
    setup.stencilBits = 8;
    setup.instance = GetInstance();
    if (args.size() == 1 && args[0] == "pump")
    {
        setup.x = 10;
        setup.y = 10;
        setup.width = 200;
        setup.height = 150;
    }
    else if (args.size() == 3 && args[0] == "fullscreen")
    {
        setup.fullScreen = 1;
        setup.width = std::atoi(args[1].c_str());
        setup.height = std::atoi(args[2].c_str());
    }
    else
    {
        std::fprintf(stderr, "usage: glownwindow pump | fullscreen WIDTH HEIGHT\n");
        return 2;
    }

    QVModule* module = GetModManager().LoadModule("qvoglrenderer.qvm");
    if (module == nullptr)
    {
        std::fprintf(stderr, "glownwindow: qvoglrenderer.qvm not found\n");
        return 1;
    }
    QVRenderer* renderer = static_cast<QVRenderer*>(module);
    if (!renderer->Init(&setup))
    {
        std::fprintf(stderr, "glownwindow: the renderer could not open its window\n");
        GetModManager().ReleaseModule(renderer);
        return 1;
    }

    int zeros = 0;
    int result = 3;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline)
    {
        const int answer = renderer->PumpMessages();
        if (answer == 18)
        {
            result = zeros > 0 ? 0 : 4;
            break;
        }
        if (answer == 0)
            ++zeros;
        renderer->TestFrame(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::printf("glownwindow: %s after %d answers of 0\n", result == 0 ? "closed" : "ended", zeros);
    renderer->Release();
    GetModManager().ReleaseModule(renderer);
    return result;
}
