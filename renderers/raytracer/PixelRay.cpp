#include "renderers/raytracer/PixelRay.h"

#include "renderers/raytracer/SecondaryRays.h"

#include "scene/QVFaceGroup.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"

#include <cmath>

namespace
{
const RayVec zeroVector{0.0, 0.0, 0.0};
const RayColour zeroColour{0.0, 0.0, 0.0, 0.0};

// Face table of the box test: bit, outward normal axis and sign, the two bounded axes.
struct BoxFace
{
    std::int32_t bit;
    int axis;
    double sign;
    int first;
    int second;
};

const BoxFace boxFaces[6] = {
    {1, 1, -1.0, 0, 2}, {2, 1, 1.0, 0, 2},  {4, 0, -1.0, 1, 2},
    {8, 0, 1.0, 1, 2},  {16, 2, 1.0, 1, 0}, {32, 2, -1.0, 1, 0},
};

RayVec AxisVector(int axis, double value)
{
    RayVec v{0.0, 0.0, 0.0};
    (axis == 0 ? v.x : (axis == 1 ? v.y : v.z)) = value;
    return v;
}
}  // namespace

PixelRay::PixelRay()
{
    level = 0;
    Reset();
}

void PixelRay::Reset()
{
    traced = false;
    mode = RAY_PRIMARY;
    origin = zeroVector;
    direction = zeroVector;
    hitPoint = zeroVector;
    normal = zeroVector;
    reflected = zeroVector;
    transmitted = zeroVector;
    colour = zeroColour;
    distance = 0.0;
    material = nullptr;
    lightFactor = 0.0;
    lightDistance = 0.0;
    scratchColour = zeroColour;
    ambientSum = zeroColour;
    diffuseSum = zeroColour;
    specularSum = zeroColour;
    faceIndex = 0;
    faceCounter = 0;
}

bool PixelRay::Trace(const RayScene& scene, int depth)
{
    return Trace(scene, depth, SecondaryRays::Shared());
}

bool PixelRay::Trace(const RayScene& scene, int depth, SecondaryRays& secondaries)
{
    if (traced)
    {
        return distance > 0.0;
    }
    double best = -1.0;
    for (const RayScene::Object& object : scene.GetObjects())
    {
        distance = -1.0;
        faceIndex = 0;
        if (!Intersect(object) || distance <= 0.0)
        {
            continue;
        }
        if (mode == RAY_SHADOW)
        {
            return true;
        }
        // An equal distance replaces the earlier object.
        if (best >= 0.0 && distance > best)
        {
            continue;
        }
        const double found = distance;
        colour = zeroColour;
        material = object.mesh->GetFaceGroup(faceIndex).GetMaterial();
        if (material == nullptr)
        {
            material = scene.GetDefaultMaterial();
        }
        PixelRay& secondary = secondaries.For(level);
        secondary.origin = hitPoint;
        Shade(scene, secondary, secondaries);
        if (depth != 0 && material->reflectivity != 0.0)
        {
            Reflect(scene, secondary, secondaries, depth - 1);
        }
        if (depth != 0 && material->transparency != 0.0)
        {
            Transmit(scene, object, secondary, secondaries, depth - 1);
        }
        best = found;
    }
    traced = true;
    if (best >= 0.0)
    {
        return true;
    }
    colour = scene.GetBackground();
    return false;
}

bool PixelRay::Intersect(const RayScene::Object& object)
{
    if (object.shape != RayScene::Plane)
    {
        // Bounding sphere around the position: the point of the ray's line nearest to it.
        const RayVec nearest = origin + direction * (object.centre - origin).Dot(direction);
        if ((nearest - object.centre).Length() > object.boundRadius)
        {
            return false;
        }
    }
    bool hit = false;
    switch (object.shape)
    {
    case RayScene::Plane:
        hit = IntersectPlane(object);
        break;
    case RayScene::Sphere:
        hit = IntersectSphere(object);
        break;
    case RayScene::Box:
        hit = IntersectBox(object);
        break;
    default:
        return false;
    }
    // A shadow ray only asks whether something is in the way; its reflection is never read.
    if (hit && mode != RAY_SHADOW)
    {
        reflected = direction - normal * (2.0 * direction.Dot(normal));
        reflected.Normalize();
    }
    return hit;
}

bool PixelRay::IntersectPlane(const RayScene::Object& object)
{
    const RayVec& n = object.planeNormal;
    const double a = n.Dot(direction);
    if (a >= 0.0)
    {
        return false;
    }
    // Reported with distance -1: a plane never blocks a shadow ray.
    if (mode == RAY_SHADOW)
    {
        return true;
    }
    distance = (object.planeDistance - origin.Dot(n)) / a;
    normal = mode == RAY_INSIDE ? RayVec{-n.x, -n.y, -n.z} : n;
    hitPoint = origin + direction * distance;
    return true;
}

bool PixelRay::IntersectSphere(const RayScene::Object& object)
{
    const RayVec p = origin - object.centre;
    const double a = direction.Dot(direction);
    const double b = 2.0 * p.Dot(direction);
    const double c = p.Dot(p) - object.radius * object.radius;
    const double disc = b * b - 4.0 * a * c;
    if (disc < 0.0)
    {
        return false;
    }
    if (disc != 0.0)
    {
        // Inside mode looks for the exit: the farther root.
        const double root = std::sqrt(disc);
        distance = mode == RAY_INSIDE ? (-b + root) / (2.0 * a) : (-b - root) / (2.0 * a);
    }
    else
    {
        distance = -b / (2.0 * a);
    }
    if (distance < 0.0)
    {
        return false;
    }
    if (mode == RAY_SHADOW)
    {
        return true;
    }
    hitPoint = origin + direction * distance;
    normal = mode == RAY_INSIDE ? object.centre - hitPoint : hitPoint - object.centre;
    normal.Normalize();
    return true;
}

bool PixelRay::IntersectBox(const RayScene::Object& object)
{
    const RayVec& c = object.centre;
    const RayVec& h = object.halfExtent;
    // Inside mode looks for the exit: the faces turned the other way.
    const bool reversed = object.insideOut != (mode == RAY_INSIDE);
    double best = -1.0;
    faceCounter = -1;
    for (const BoxFace& face : boxFaces)
    {
        if ((object.faceMask & face.bit) == 0)
        {
            continue;
        }
        ++faceCounter;
        const double na = reversed ? -face.sign : face.sign;
        const RayVec n = AxisVector(face.axis, na);
        const double facing = n.Dot(direction);
        if (!(facing < 0.0))
        {
            continue;
        }
        const double q = face.sign > 0.0 ? c.Get(face.axis) + h.Get(face.axis)
                                         : c.Get(face.axis) - h.Get(face.axis);
        const double s = (q - origin.Dot(n) * na) / (facing * na);
        const RayVec point = origin + direction * s;
        if (!(best < 0.0 || s < best))
        {
            continue;
        }
        const double u = point.Get(face.first);
        const double v = point.Get(face.second);
        const double uc = c.Get(face.first), uh = h.Get(face.first);
        const double vc = c.Get(face.second), vh = h.Get(face.second);
        if (uc - uh <= u && u <= uc + uh && vc - vh <= v && v <= vc + vh)
        {
            hitPoint = point;
            normal = n;
            faceIndex = faceCounter;
            best = s;
        }
    }
    if (best > 0.0)
    {
        distance = best;
        return true;
    }
    return false;
}

void PixelRay::Shade(const RayScene& scene, PixelRay& secondary, SecondaryRays& secondaries)
{
    colour = RayColour::From(material->baseColour);
    ambientSum = zeroColour;
    diffuseSum = zeroColour;
    specularSum = zeroColour;
    const unsigned shininess = material->shininess;
    for (const RayScene::Light& light : scene.GetLights())
    {
        ambientSum.ClampedAdd(light.ambient);

        // Shadow ray from the hit point itself, no offset.
        secondary.direction = light.position - hitPoint;
        lightDistance = secondary.direction.Normalize();
        secondary.traced = false;
        secondary.mode = RAY_SHADOW;
        if (secondary.Trace(scene, 0, secondaries))
        {
            continue;
        }
        lightFactor = light.node->AttenuationAt(lightDistance);

        double diffuse = secondary.direction.Dot(normal) * lightFactor;
        if (diffuse < 0.0)
        {
            diffuse = 0.0;
        }
        scratchColour = light.diffuse;
        scratchColour.ClampedScale(diffuse);
        diffuseSum.ClampedAdd(scratchColour);

        if (shininess != 0)
        {
            lightFactor = secondary.direction.Dot(reflected) * lightFactor;
            // The base times itself shininess times: power n + 1.
            double term = 0.0;
            if (!(lightFactor < 0.0))
            {
                term = lightFactor;
                for (unsigned i = 0; i < shininess; ++i)
                {
                    term *= lightFactor;
                }
            }
            scratchColour = light.specular;
            scratchColour.ClampedScale(term);
            specularSum.ClampedAdd(scratchColour);
        }
    }
    ambientSum.Modulate(RayColour::From(material->ambient));
    specularSum.Modulate(RayColour::From(material->specular));
    diffuseSum.Modulate(RayColour::From(material->GetDiffuse()));
    colour.ClampedAdd(ambientSum);
    colour.ClampedAdd(diffuseSum);
    colour.ClampedAdd(specularSum);
}

void PixelRay::Reflect(const RayScene& scene, PixelRay& secondary, SecondaryRays& secondaries,
                       int depth)
{
    secondary.direction = reflected;
    secondary.traced = false;
    secondary.mode = RAY_PRIMARY;
    secondary.Trace(scene, depth, secondaries);
    RayColour part = secondary.colour;
    part.ClampedScale(material->reflectivity);
    colour.ClampedAdd(part);
}

void PixelRay::Transmit(const RayScene& scene, const RayScene::Object& object, PixelRay& secondary,
                        SecondaryRays& secondaries, int depth)
{
    transmitted = direction;
    secondary.direction = transmitted;
    secondary.traced = false;
    secondary.mode = RAY_INSIDE;
    // Without an exit the ray goes on from where it entered.
    secondary.hitPoint = secondary.origin;
    secondary.distance = -1.0;
    secondary.faceIndex = 0;
    secondary.Intersect(object);
    secondary.origin = secondary.hitPoint;
    secondary.mode = RAY_PRIMARY;
    secondary.Trace(scene, depth, secondaries);
    RayColour part = secondary.colour;
    part.ClampedScale(material->transparency);
    colour.ClampedAdd(part);
}
