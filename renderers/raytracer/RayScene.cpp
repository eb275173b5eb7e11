#include "renderers/raytracer/RayScene.h"

#include "renderers/raytracer/QVSGPlane.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

RayScene::RayScene() : background{0.0, 0.0, 0.0, 0.0}, defaultMaterial(nullptr) {}

void RayScene::Capture(QVSGWorld* world)
{
    objects.clear();
    lights.clear();
    background = RayColour{0.0, 0.0, 0.0, 0.0};
    defaultMaterial = nullptr;
    if (world == nullptr)
    {
        return;
    }
    background = RayColour::From(world->GetBackground());
    defaultMaterial = &world->GetDefaultMaterial();

    const unsigned count = world->GetChildCount();
    objects.reserve(count);
    for (unsigned i = 0; i < count; ++i)
    {
        QVSGNode* node = world->GetChild(i);
        Object object{};
        object.shape = None;
        const std::int32_t classId = node != nullptr ? node->GetClassId() : 0;
        // Only the three shapes are read as transforms: any other node may not be one.
        if (classId == QVSG_CLASS_PLANE || classId == QVSG_CLASS_SPHERE ||
            classId == QVSG_CLASS_BOX)
        {
            QVSGMesh* mesh = static_cast<QVSGMesh*>(node);
            object.mesh = mesh;
            object.centre = RayVec::From(mesh->GetPosition());
            object.halfExtent = RayVec::From(mesh->GetScale());
            double largest = object.halfExtent.x;
            if (object.halfExtent.y > largest)
            {
                largest = object.halfExtent.y;
            }
            if (object.halfExtent.z > largest)
            {
                largest = object.halfExtent.z;
            }
            object.boundRadius = largest * mesh->GetSize();
        }
        if (classId == QVSG_CLASS_PLANE)
        {
            QVSGPlane* plane = static_cast<QVSGPlane*>(node);
            object.shape = Plane;
            object.planeNormal = RayVec::From(plane->GetNormal());
            object.planeDistance = plane->GetDistance();
        }
        else if (classId == QVSG_CLASS_SPHERE)
        {
            object.shape = Sphere;
            object.radius = static_cast<QVSGSphere*>(node)->GetRadius();
        }
        else if (classId == QVSG_CLASS_BOX)
        {
            QVSGBox* box = static_cast<QVSGBox*>(node);
            object.shape = Box;
            object.faceMask = box->GetFaceMask();
            object.insideOut = box->GetInsideOut() != 0;
        }
        objects.push_back(object);
    }

    const unsigned lightCount = world->GetLightCount();
    lights.reserve(lightCount);
    for (unsigned i = 0; i < lightCount; ++i)
    {
        QVSGLight* light = world->GetLight(i);
        lights.push_back(
            Light{light, RayVec::From(light->GetPosition()), RayColour::From(light->GetAmbient()),
                  RayColour::From(light->GetDiffuse()), RayColour::From(light->GetSpecular())});
    }
}
