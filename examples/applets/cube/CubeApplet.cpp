// The cube applet: a lit cube spinning in the applet's window, drawn by the OpenGL renderer
// module that its package brings along.
#include "core/math/QVVector.h"
#include "modules/LoadModuleAs.h"
#include "modules/ModuleExport.h"
#include "modules/RunTimePath.h"
#include "plugin/QVApplet.h"
#include "renderers/HostWindowSetup.h"
#include "renderers/QVRenderer.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGWorld.h"
#include "ui/QVUIManager.h"

class CubeApplet : public QVApplet
{
public:
    CubeApplet()
    {
        SetFileName(QVString("cubeapplet.qvm"));
        SetName(QVString("Cube"));
        SetPlatform(QVString("All"));
    }

    bool Init(QVUIWindow* window, QVAppletHost*, QVProperties* parameters) override
    {
        m_window = window;
        // The package was unpacked in @temp_path, the renderer module with it: the module
        // manager looks for modules in the working directory.
        QVString folder;
        if (parameters->Get(QVString("@temp_path"), folder))
            ChangeDirectory(folder);
        return true;
    }

    int Run() override
    {
        QVUIManager* manager = m_window->GetManager();
        QVRenderer* renderer = LoadModuleAs<QVRenderer>(GetModManager(), "qvoglrenderer.qvm");
        // Draws into the host's window: no window of its own.
        RendererSetup setup = HostWindowSetup(nullptr, m_window->GetWindow(), m_window->GetWidth(),
                                              m_window->GetHeight());
        if (renderer == nullptr || !renderer->Init(&setup))
        {
            QVString text("The cube needs the OpenGL renderer module qvoglrenderer.qvm");
            QVString caption("Cube");
            manager->ShowMessage(text, caption);
            // Nothing to draw with: the window is served until it closes all the same.
            while (manager->ProcessMessages(m_window, true))
            {
            }
            return 1;
        }
        renderer->Resize(m_window->GetWidth(), m_window->GetHeight());

        // Scene nodes gather modules when they are made: made here, not with the module.
        QVSGWorld world;
        QVSGCamera camera;
        QVSGBox cube(63, 0);
        QVSGLight light(0.0, 0.0, 0.0);
        QVSGMaterial orange;
        orange.ambient.Set(1, 0.5, 0, 0);
        orange.diffuse.Set(1, 0.5, 0, 0);
        orange.specular.Set(1, 1, 1, 0);
        orange.shininess = 20;
        cube.BuildBox();
        for (int face = 0; face < 6; ++face)
            cube.SetMaterial(&orange, face, false);
        light.SetPosition(4, 6, 8);
        light.SetAmbient(0.2, 0.2, 0.2, 1);
        light.SetDiffuse(1, 1, 1, 1);
        light.SetSpecular(1, 1, 1, 1);
        light.SetOn(1);
        light.SetAttenuation(0, 0, 0);
        camera.SetPerspective(60.0, double(m_window->GetWidth()) / m_window->GetHeight(), 0.1,
                              100.0);
        camera.SetPosition(0, 0, 5);
        camera.LookAt(QVVector(0, 0, 0));
        camera.BuildView();
        world.AddObject(&cube);
        world.AddLight(&light);
        world.SetCamera(&camera);
        world.GetBackground().SetPacked(0x302020);
        orange.InitHard(renderer);
        cube.InitHard(renderer);
        camera.InitHard(renderer);
        light.InitHard(renderer);
        world.InitHard(renderer);

        // One frame after every pass of the window's messages, until the window is closed.
        double angle = 0.0;
        while (manager->ProcessMessages(m_window, false))
        {
            if (m_window->IsClosed())
                continue;  // a closed window has no surface left to draw on
            angle = angle >= 360.0 ? 0.0 : angle + 1.0;
            cube.SetRotation(angle * 0.5, angle, 0.0);
            world.Render();
        }
        GetModManager().ReleaseModule(renderer);
        return 0;
    }

private:
    QVUIWindow* m_window = nullptr;
};

QV_DEFINE_MODULE(CubeApplet)
