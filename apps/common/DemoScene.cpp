#include "apps/common/DemoScene.h"

#include "core/math/QVVector.h"

DemoScene::DemoScene() : sphere(1.0, 10), cube(63, 0), room(63, 0), light(0.0, 0.0, 0.0) {}

void DemoScene::Build()
{
    red.ambient.Set(1, 0, 0, 0);
    red.diffuse.Set(1, 0, 0, 0);
    red.specular.Set(1, 1, 1, 0);
    red.reflectivity = 0.6;
    red.shininess = 32;

    mirror.ambient.Set(0, 0, 0, 0);
    mirror.diffuse.Set(0, 0, 0, 0);
    mirror.specular.Set(1, 1, 1, 0);
    mirror.reflectivity = 0.9;
    mirror.shininess = 20;

    green.ambient.Set(0, 1, 0, 0);
    green.diffuse.Set(0, 1, 0, 0);
    green.specular.Set(1, 1, 1, 0);
    green.shininess = 10;

    // Single precision 0.7, as the scene was always made.
    const double g = static_cast<double>(0.7f);
    grey.ambient.Set(g, g, g, 0);
    grey.diffuse.Set(g, g, g, 0);
    grey.specular.Set(1, 1, 1, 0);
    grey.reflectivity = 0.0;
    grey.shininess = 32;

    sphere.SetRadius(2.0);
    sphere.SetSegments(10);
    sphere.BuildSphere();
    sphere.SetPosition(-3, 0, 0);
    sphere.SetMaterial(&red, 0, false);
    world.AddObject(&sphere);

    cube.SetInsideOut(0);
    cube.BuildBox();
    cube.SetPosition(2, 0, 2);
    for (int face = 0; face < 6; ++face)
        cube.SetMaterial(&green, face, false);
    world.AddObject(&cube);

    // Floor (y = -1), left wall (x = -1) and back wall (z = -1), facing inwards.
    room.SetInsideOut(1);
    room.SetFaceMask(0x25);
    room.BuildBox();
    room.SetMaterial(&mirror, 2, false);
    room.SetMaterial(&grey, 0, false);
    room.SetMaterial(&grey, 1, false);
    room.SetScale(20, 20, 20);
    room.SetPosition(0, 16, 0);
    world.AddObject(&room);

    light.SetPosition(9, 9, 9);
    light.SetAmbient(0.2, 0.2, 0.2, 1);
    light.SetDiffuse(1, 1, 1, 1);
    light.SetSpecular(1, 1, 1, 1);
    light.SetOn(1);
    light.SetAttenuation(0, 0, 0);
    world.AddLight(&light);

    camera.SetPerspective(70.0, 4.0 / 3.0, 0.1, 1000.0);
    camera.SetPosition(2, 3.5, 8);
    camera.LookAt(QVVector(0, 0, 0));
    camera.BuildView();
    camera.SetTrackTarget(1);
    world.SetCamera(&camera);

    world.GetBackground().SetPacked(0xFFFFFF);
}

void DemoScene::Bind(QVRenderer* renderer)
{
    room.InitHard(renderer);
    sphere.InitHard(renderer);
    cube.InitHard(renderer);
    camera.InitHard(renderer);
    light.InitHard(renderer);
    red.InitHard(renderer);
    mirror.InitHard(renderer);
    green.InitHard(renderer);
    grey.InitHard(renderer);
    world.InitHard(renderer);
}
