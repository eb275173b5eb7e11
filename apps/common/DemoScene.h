#pragma once

#include "scene/QVSGBox.h"
#include "scene/QVSGCamera.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

class QVRenderer;

// The demonstration scene that rayviewer shows and qvrender traces: a red reflective sphere, a
// green cube and an inside-out room with a grey floor and left wall and a mirror back wall, one
// white light, and a camera at (2, 3.5, 8) looking at the origin. Every node is a member, so the
// scene owns them all and they live as long as it does.
class DemoScene
{
public:
    // Constructs the nodes (the world and meshes gather their loader modules now).
    DemoScene();

    // Sets materials, geometry, light, camera and the white background. Call once.
    void Build();
    // Binds the nodes to renderer (room, sphere, cube, camera, light, the four materials) and
    // then attaches the world. The results are not examined; a null renderer binds nothing.
    void Bind(QVRenderer* renderer);

    QVSGWorld world;
    QVSGCamera camera;
    QVSGSphere sphere;
    QVSGBox cube;
    QVSGBox room;
    QVSGLight light;
    QVSGMaterial red;
    QVSGMaterial mirror;
    QVSGMaterial green;
    QVSGMaterial grey;
};
