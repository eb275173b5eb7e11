// The recording renderer module of the scene tests.
#include "modules/ModuleExport.h"
#include "scene/QVColor.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGNode.h"
#include "tests/scene/recorder/QVRecordingRenderer.h"

#include <cstdio>
#include <string>

namespace
{
// The name a node reached the module with, read through the node layout compiled into this
// library: a wrong member order on either side shows up as a wrong name.
std::string NameOf(QVSGNode* node)
{
    if (node == nullptr)
    {
        return "null";
    }
    const char* text = node->GetName().GetBuffer();
    return text != nullptr ? text : "";
}

std::string Number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}
}  // namespace

class RecordingRenderer final : public QVRecordingRenderer
{
public:
    RecordingRenderer() : renderSceneResult(false)
    {
        SetFileName(QVString(QV_RECORDING_RENDERER_FILE));
        SetName(QVString("Scene Call Recorder"));
        SetPlatform(QVString("All"));
        SetType(QVString("3D Renderer"));
    }

    // A setup with neither a window nor a request for an own one leaves the renderer not ready,
    // as a renderer that has nothing to draw into.
    bool Init(RendererSetup* setup) override
    {
        if (setup == nullptr)
        {
            Log("Init null");
            ready = false;
            return false;
        }
        Log("Init " + std::to_string(setup->width) + " " + std::to_string(setup->height));
        viewportWidth = setup->width;
        viewportHeight = setup->height;
        colourBits = setup->colourBits;
        depthBits = setup->depthBits;
        stencilBits = setup->stencilBits;
        window = setup->window;
        ready = setup->window != nullptr || setup->createOwnWindow != 0;
        return ready;
    }
    void Release() override { Log("Release"); }
    void Reserved(void*) override { Log("Reserved"); }
    int Resize(int width, int height) override
    {
        Log("Resize " + std::to_string(width) + " " + std::to_string(height));
        viewportWidth = width;
        viewportHeight = height;
        return 0;
    }
    void SetProjection(QVSGCamera* camera) override { Log("SetProjection " + NameOf(camera)); }
    void SetView(QVSGCamera* camera) override { Log("SetView " + NameOf(camera)); }
    int MakeCurrent() override
    {
        Log("MakeCurrent");
        return 1;
    }
    void BeginFrame() override { Log("BeginFrame"); }
    int EndFrame() override
    {
        Log("EndFrame");
        return 1;
    }
    bool InitNode(QVSGNode* node) override
    {
        Log("InitNode " + NameOf(node));
        return !(refused.size() > 0 && NameOf(node) == refused);
    }
    bool UpdateNode(QVSGNode* node) override
    {
        Log("UpdateNode " + NameOf(node));
        return true;
    }
    bool ReleaseNode(QVSGNode* node) override
    {
        Log("ReleaseNode " + NameOf(node));
        return true;
    }
    bool EnableLighting(bool enable) override
    {
        Log(std::string("EnableLighting ") + (enable ? "1" : "0"));
        return true;
    }
    bool SetLight(int index, QVSGLight* light) override
    {
        Log("SetLight " + std::to_string(index) + " " + NameOf(light));
        return true;
    }
    bool DrawNode(QVSGNode* node) override
    {
        Log("DrawNode " + NameOf(node));
        return true;
    }
    bool TestFrame(int) override
    {
        Log("TestFrame");
        return true;
    }
    void Clear(bool colour, bool depth, bool stencil) override
    {
        Log(std::string("Clear ") + (colour ? "1" : "0") + " " + (depth ? "1" : "0") + " " +
            (stencil ? "1" : "0"));
    }
    void SetClearColour(QVColor* colour) override
    {
        if (colour == nullptr)
        {
            Log("SetClearColour null");
            return;
        }
        Log("SetClearColour " + Number(colour->r) + " " + Number(colour->g) + " " +
            Number(colour->b) + " " + Number(colour->a));
    }
    bool RenderScene() override
    {
        Log("RenderScene");
        return renderSceneResult;
    }
    void DrawAxes(float length) override { Log("DrawAxes " + Number(length)); }
    int PumpMessages() override
    {
        Log("PumpMessages");
        return 0;
    }
    bool CreateOwnWindow(RendererSetup*) override
    {
        Log("CreateOwnWindow");
        return true;
    }
    bool AttachToWindow(RendererSetup*) override
    {
        Log("AttachToWindow");
        return true;
    }

    const char* GetLog() override { return log.c_str(); }
    void ClearLog() override { log.clear(); }
    void SetRenderSceneResult(bool value) override { renderSceneResult = value; }
    void RefuseNode(const char* name) override { refused = name != nullptr ? name : ""; }

private:
    void Log(const std::string& line)
    {
        log += line;
        log += '\n';
    }

    std::string log;
    std::string refused;
    bool renderSceneResult;
};

QV_DEFINE_MODULE(RecordingRenderer)
