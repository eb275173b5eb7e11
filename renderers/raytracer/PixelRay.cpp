#include "renderers/raytracer/PixelRay.h"

#include "renderers/raytracer/BoxFaces.h"
#include "renderers/raytracer/SecondaryRays.h"

#include "scene/QVFaceGroup.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGMesh.h"

#include <cmath>
#include <limits>

namespace
{
const RayVec zeroVector{0.0, 0.0, 0.0};
const RayColour zeroColour{0.0, 0.0, 0.0, 0.0};

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
    const RayScene::EyeTerms* eyeTerms = scene.EyeTermsFor(origin);
    const std::vector<RayScene::Object>& objects = scene.GetObjects();
    for (std::size_t i = 0; i < objects.size(); ++i)
    {
        const RayScene::Object& object = objects[i];
        distance = -1.0;
        faceIndex = 0;
        if (!IntersectShape(object, eyeTerms != nullptr ? &eyeTerms[i] : nullptr) ||
            distance <= 0.0)
        {
            continue;
        }
        if (mode == RAY_SHADOW)
        {
            return true;
        }
        // An equal distance replaces the earlier object. Only a hit that is shaded needs its
        // reflected direction.
        if (best >= 0.0 && distance > best)
        {
            continue;
        }
        SetReflected();
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
    const bool hit = IntersectShape(object, nullptr);
    // A shadow ray only asks whether something is in the way; its reflection is never read.
    if (hit && mode != RAY_SHADOW)
    {
        SetReflected();
    }
    return hit;
}

bool PixelRay::IntersectShape(const RayScene::Object& object, const RayScene::EyeTerms* eye)
{
    if (object.shape != RayScene::Plane)
    {
        // Bounding sphere around the position: the point of the ray's line nearest to it. The
        // squared distance decides unless it lies too near the radius's square (RayScene).
        const RayVec toCentre = eye != nullptr ? eye->centreOffset : object.centre - origin;
        const RayVec nearest = origin + direction * toCentre.Dot(direction);
        const RayVec offset = nearest - object.centre;
        const double square = offset.Dot(offset);
        const bool outside = object.boundFailSquare >= 0.0 && square > object.boundFailSquare;
        const bool inside = square <= object.boundPassSquare;
        if (outside || (!inside && std::sqrt(square) > object.boundRadius))
        {
            return false;
        }
    }
    switch (object.shape)
    {
    case RayScene::Plane:
        return IntersectPlane(object, eye);
    case RayScene::Sphere:
        return IntersectSphere(object, eye);
    case RayScene::Box:
        return IntersectBox(object, eye);
    default:
        return false;
    }
}

void PixelRay::SetReflected()
{
    reflected = direction - normal * (2.0 * direction.Dot(normal));
    reflected.Normalize();
}

bool PixelRay::IntersectPlane(const RayScene::Object& object, const RayScene::EyeTerms* eye)
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
    const double numerator =
        eye != nullptr ? eye->planeNumerator : object.planeDistance - origin.Dot(n);
    distance = numerator / a;
    normal = mode == RAY_INSIDE ? RayVec{-n.x, -n.y, -n.z} : n;
    hitPoint = origin + direction * distance;
    return true;
}

bool PixelRay::IntersectSphere(const RayScene::Object& object, const RayScene::EyeTerms* eye)
{
    const RayVec p = eye != nullptr ? eye->sphereOffset : origin - object.centre;
    const double a = direction.Dot(direction);
    const double b = 2.0 * p.Dot(direction);
    const double c =
        eye != nullptr ? eye->sphereConstant : p.Dot(p) - object.radius * object.radius;
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

bool PixelRay::IntersectBox(const RayScene::Object& object, const RayScene::EyeTerms* eye)
{
    // Inside mode looks for the exit: the faces turned the other way.
    const bool reversed = object.insideOut != (mode == RAY_INSIDE);
    double best = -1.0;
    faceCounter = -1;
    const int turned = reversed ? 1 : 0;
    // With a finite direction, the normal's dot product is the one non-zero product: the zero
    // terms only change the sign of a zero, which the facing test ignores (and a facing face's
    // value is that product exactly).
    const bool finite =
        std::isfinite(direction.x) && std::isfinite(direction.y) && std::isfinite(direction.z);
    for (int k = 0; k < object.boxFaceCount; ++k)
    {
        const RayScene::BoxFaceData& face = object.boxFaces[k];
        ++faceCounter;
        const double na = face.sign[turned];
        const RayVec& n = face.normal[turned];
        const double facing = finite ? direction.Get(face.axis) * na : n.Dot(direction);
        if (!(facing < 0.0))
        {
            continue;
        }
        const double numerator = eye != nullptr ? eye->boxNumerator[turned][face.table]
                                                : face.plane - origin.Dot(n) * na;
        const double s = numerator / (facing * na);
        const RayVec point = origin + direction * s;
        if (!(best < 0.0 || s < best))
        {
            continue;
        }
        const double u = point.Get(face.first);
        const double v = point.Get(face.second);
        if (face.firstLow <= u && u <= face.firstHigh && face.secondLow <= v &&
            v <= face.secondHigh)
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
        lightFactor = light.unattenuated && lightDistance <= std::numeric_limits<double>::max()
                          ? 1.0
                          : light.node->AttenuationAt(lightDistance);

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
