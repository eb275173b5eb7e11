#pragma once

#include "loaders/QVImage.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGWorld.h"

#include <memory>
#include <string>
#include <vector>

class QVRenderer;

// qvglview's scene for --model: one mesh read by the object loader modules, moved to the origin
// and scaled so that its bounding box fits a sphere of radius 2, drawn with the materials the
// loader describes (one per face group, in the mesh's sub-objects: a base colour and a texture
// file read by the image loader modules) or else the world's default material, one white light above and left of the camera, and a camera looking at the origin with the demo
// scene's 70 degrees and 4:3 aspect, so the mouse orbits the model and Z/S move towards it.
class ModelScene
{
public:
    // Constructs the nodes (the mesh gathers the "Object Loader" modules now).
    ModelScene();

    // Reads fileName through the first collected loader that accepts the name and loads it, then
    // fits the mesh to the view and sets light, camera and background. False, with error set to
    // a message for the user, when the file is absent, no loader reads it, or it holds no
    // triangle.
    bool Load(const std::string& fileName, std::string& error);
    // Binds mesh, camera, light, the materials and their textures to renderer, then attaches the
    // world.
    void Bind(QVRenderer* renderer);
    // Releases the textures' renderer data (the world releases the rest).
    void Release(QVRenderer* renderer);
    // The materials a --texture goes on: the default one and the model's untextured ones.
    std::vector<QVSGMaterial*> UntexturedMaterials();

    QVSGWorld world;
    QVSGCamera camera;
    QVSGMesh mesh;
    QVSGLight light;

private:
    // Centre and scale from the vertices' bounding box.
    void Fit();
    // A material per face group from the mesh's sub-objects, with the textures they name.
    void MakeMaterials();

    std::vector<std::unique_ptr<QVSGMaterial>> m_materials;
    std::vector<std::unique_ptr<QVImage>> m_textures;
};
