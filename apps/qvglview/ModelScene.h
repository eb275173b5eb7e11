#pragma once

#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMesh.h"
#include "scene/QVSGWorld.h"

#include <string>

class QVRenderer;

// qvglview's scene for --model: one mesh read by the object loader modules, moved to the origin
// and scaled so that its bounding box fits a sphere of radius 2, drawn with the world's default
// material, one white light above and left of the camera, and a camera looking at the origin with the demo
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
    // Binds mesh, camera, light and the default material to renderer, then attaches the world.
    void Bind(QVRenderer* renderer);

    QVSGWorld world;
    QVSGCamera camera;
    QVSGMesh mesh;
    QVSGLight light;

private:
    // Centre and scale from the vertices' bounding box.
    void Fit();
};
