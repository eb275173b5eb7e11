#include "renderers/raytracer/RayScene.h"

#include "renderers/raytracer/BoxFaces.h"

#include "renderers/raytracer/QVSGPlane.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <cstring>

RayScene::RayScene() : background{0.0, 0.0, 0.0, 0.0}, defaultMaterial(nullptr), eye{0.0, 0.0, 0.0}
{
}

namespace
{
// The bounding test compares the rounded root of a squared distance with the radius. Away from
// the radius's square by far more than rounding can move either side (a relative 1e-12 against
// errors of 2^-52), the squared distance alone decides; near it the root is still taken. Off for
// radii whose square leaves the range of normal doubles, and for negative or NaN radii.
void SetBoundWindow(RayScene::Object& object)
{
    const double radius = object.boundRadius;
    const double square = radius * radius;
    object.boundPassSquare = -1.0;
    object.boundFailSquare = -1.0;
    if (radius >= 0.0 && square >= 1e-290 && square <= 1e290)
    {
        object.boundPassSquare = square * (1.0 - 1e-12);
        object.boundFailSquare = square * (1.0 + 1e-12);
    }
    else if (radius == 0.0)
    {
        // Only a squared distance of 0 has a root of 0.
        object.boundPassSquare = 0.0;
        object.boundFailSquare = 0.0;
    }
}

void SetBoxFaces(RayScene::Object& object)
{
    const RayVec& c = object.centre;
    const RayVec& h = object.halfExtent;
    object.boxFaceCount = 0;
    for (int f = 0; f < 6; ++f)
    {
        const BoxFace& face = kBoxFaces[f];
        if ((object.faceMask & face.bit) == 0)
        {
            continue;
        }
        RayScene::BoxFaceData& data = object.boxFaces[object.boxFaceCount++];
        data.table = f;
        data.axis = face.axis;
        data.first = face.first;
        data.second = face.second;
        data.plane = FacePlane(face, c, h);
        data.firstLow = c.Get(face.first) - h.Get(face.first);
        data.firstHigh = c.Get(face.first) + h.Get(face.first);
        data.secondLow = c.Get(face.second) - h.Get(face.second);
        data.secondHigh = c.Get(face.second) + h.Get(face.second);
        for (int reversed = 0; reversed < 2; ++reversed)
        {
            data.sign[reversed] = FaceSign(face, reversed != 0);
            data.normal[reversed] = AxisVector(face.axis, data.sign[reversed]);
        }
    }
}
}  // namespace

void RayScene::Capture(QVSGWorld* world)
{
    eyeTerms.clear();
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
        SetBoundWindow(object);
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
            SetBoxFaces(object);
        }
        objects.push_back(object);
    }

    const unsigned lightCount = world->GetLightCount();
    lights.reserve(lightCount);
    for (unsigned i = 0; i < lightCount; ++i)
    {
        QVSGLight* light = world->GetLight(i);
        const bool unattenuated = light->GetConstantAttenuation() == 0.0 &&
                                  light->GetLinearAttenuation() == 0.0 &&
                                  light->GetQuadraticAttenuation() == 0.0;
        lights.push_back(Light{light, RayVec::From(light->GetPosition()),
                               RayColour::From(light->GetAmbient()),
                               RayColour::From(light->GetDiffuse()),
                               RayColour::From(light->GetSpecular()), unattenuated});
    }
}

void RayScene::SetEye(const RayVec& origin)
{
    eye = origin;
    eyeTerms.assign(objects.size(), EyeTerms{});
    for (std::size_t i = 0; i < objects.size(); ++i)
    {
        const Object& object = objects[i];
        EyeTerms& terms = eyeTerms[i];
        terms.centreOffset = object.centre - eye;
        terms.sphereOffset = eye - object.centre;
        terms.sphereConstant =
            terms.sphereOffset.Dot(terms.sphereOffset) - object.radius * object.radius;
        terms.planeNumerator = object.planeDistance - eye.Dot(object.planeNormal);
        for (int reversed = 0; reversed < 2; ++reversed)
        {
            for (int f = 0; f < 6; ++f)
            {
                const BoxFace& face = kBoxFaces[f];
                const double na = FaceSign(face, reversed != 0);
                const RayVec n = AxisVector(face.axis, na);
                terms.boxNumerator[reversed][f] =
                    FacePlane(face, object.centre, object.halfExtent) - eye.Dot(n) * na;
            }
        }
    }
}

const RayScene::EyeTerms* RayScene::EyeTermsFor(const RayVec& origin) const
{
    // Bit for bit: a zero of the other sign would round differently further on.
    if (eyeTerms.empty() || std::memcmp(&origin, &eye, sizeof eye) != 0)
    {
        return nullptr;
    }
    return eyeTerms.data();
}
