#pragma once

#include "loaders/QVImage.h"
#include "plugin/QVApplet.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGWorld.h"
#include "ui/QVUIListener.h"

#include <memory>
#include <string>
#include <vector>

class QVRenderer;

// A textured model spinning in the host's window, drawn by the OpenGL renderer module. The
// package brings the model ("spinner.3ds", centred at the origin), its texture ("checker.tga"),
// the renderer and the two loader modules; the applet makes "@temp_path", where they were
// unpacked, its working directory, so the module manager finds the modules there.
//
// A model whose loader describes materials (one per face group, in the mesh's sub-objects: a
// colour and a texture file, as the glTF and OBJ loader does) is drawn with those; the
// "gltfspinner" sample is this applet with such a model and no texture of its own.
//
// Keys: + or Up spin faster, - or Down slower (below zero the model turns the other way), Space
// stops or restarts it. The applet ends when its window is closed.
class SpinnerApplet : public QVApplet, public QVUIListener
{
public:
    SpinnerApplet();
    // An applet of module file moduleFile and name appletName showing modelFile with
    // textureFile on the default material (null: no texture besides the model's own).
    SpinnerApplet(const char* moduleFile, const char* appletName, const char* modelFile,
                  const char* textureFile);

    bool Init(QVUIWindow* window, QVAppletHost* host, QVProperties* parameters) override;
    // Loads the scene and the renderer, then draws a frame after every pass of the window's
    // messages until the window is closed. 1 when something could not be had (said in a box).
    int Run() override;

    void OnKeyDown(QVUIItem* item, unsigned short flags, int key) override;
    void OnSize(QVUIItem* item, int width, int height) override;

private:
    // Each step: false with error set to a message for the user.
    bool LoadModel(const std::string& directory, std::string& error);
    bool StartRenderer(std::string& error);
    bool LoadTexture(const std::string& directory, std::string& error);
    // A material per face group that the model describes, with its texture when one is read.
    void MakeMaterials();
    void Release();

    const char* m_modelFile;
    const char* m_textureFile;  // null: none

    QVUIWindow* m_window;
    QVProperties* m_parameters;
    QVRenderer* m_renderer;  // the OpenGL renderer module, null until loaded
    // Made in Run, not with the module: a mesh and an image gather the loader modules when they
    // are made, and gathering loads every module of the directory, this applet's library too.
    struct Scene
    {
        Scene() : light(0.0, 0.0, 0.0) {}
        QVSGWorld world;
        QVSGCamera camera;
        QVSGMesh mesh;
        QVSGLight light;
        QVImage texture;
        std::vector<std::unique_ptr<QVSGMaterial>> materials;  // the model's
        std::vector<std::unique_ptr<QVImage>> textures;        // their images
    };
    std::unique_ptr<Scene> m_scene;
    double m_speed;        // degrees per frame
    double m_pausedSpeed;  // the speed Space brings back; 0 while spinning
};
