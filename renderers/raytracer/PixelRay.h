#pragma once

#include "core/object/QVObject.h"
#include "renderers/raytracer/RayColour.h"
#include "renderers/raytracer/RayScene.h"
#include "renderers/raytracer/RayVec.h"

#include <cstdint>

class QVSGMaterial;
class SecondaryRays;

// How a ray treats what it meets.
enum RayMode : std::int32_t
{
    RAY_PRIMARY = 0,  // normal shading
    RAY_SHADOW = 1,   // any hit ends the trace
    RAY_INSIDE = 2    // finds where a ray leaves the object it is in
};

// One ray and its cached result: a primary ray per pixel, and the secondary rays (shadow,
// reflection, transparency) that shading a hit sends. Secondary rays come from a pool, one per
// recursion level, reset as if new for every hit (SecondaryRays). A trace that names no pool uses
// the shared one and so runs on one thread only; traces on several threads at once each name a
// pool of their own. The scene is only read.
//
// Transparency: the continuing ray leaves a transparent object on its far side along the ray.
// The inside-mode test takes the farther root of a sphere and the faces of a box that the ray
// leaves through; the continuing ray keeps the direction of the incoming ray (no bending) and
// starts at that exit point. When the inside test finds no exit (an open box, a plane) the ray
// continues from the entry point.
class PixelRay : public QVObject
{
public:
    // Mode primary, not traced, every vector and colour zero.
    PixelRay();

    // Back to the state of a new ray, keeping the recursion level.
    void Reset();

    // Traces the ray through scene with up to depth further reflection/transparency levels. A
    // traced ray returns at once (whether its last object test left a positive distance);
    // otherwise the result is whether anything was hit, and a miss takes the background colour.
    // Throws QVException when a hit object lacks the face group its face index names.
    bool Trace(const RayScene& scene, int depth);
    // The same with the secondary rays taken from the given pool.
    bool Trace(const RayScene& scene, int depth, SecondaryRays& secondaries);

    // Tests this ray against one object in the current mode; on a hit sets distance, hit point,
    // normal, reflected direction and face index (a shadow test may stop before the last three).
    bool Intersect(const RayScene::Object& object);

    // Fields, as the trace uses them.
    bool traced;
    RayMode mode;
    RayVec origin;
    RayVec direction;  // unit length for every ray the tracer makes
    RayVec hitPoint;
    RayVec normal;
    RayVec reflected;
    RayVec transmitted;
    RayColour colour;  // the result
    double distance;   // of the last object test; -1.0 before each
    QVSGMaterial* material;
    double lightFactor;  // attenuation of the light being shaded, then the specular base
    double lightDistance;
    RayColour scratchColour;
    RayColour ambientSum;
    RayColour diffuseSum;
    RayColour specularSum;
    std::int32_t faceIndex;    // enabled face of a box that was hit; 0 for other shapes
    std::int32_t faceCounter;  // enabled faces counted by the box test
    std::int32_t level;        // 0 for a primary ray, one more per secondary generation

private:
    // Intersect without the reflected direction, which only a shaded hit needs.
    // eye: the object's terms for a ray from the eye, or null.
    bool IntersectShape(const RayScene::Object& object, const RayScene::EyeTerms* eye);
    void SetReflected();
    bool IntersectPlane(const RayScene::Object& object, const RayScene::EyeTerms* eye);
    bool IntersectSphere(const RayScene::Object& object, const RayScene::EyeTerms* eye);
    bool IntersectBox(const RayScene::Object& object, const RayScene::EyeTerms* eye);
    void Shade(const RayScene& scene, PixelRay& secondary, SecondaryRays& secondaries);
    void Reflect(const RayScene& scene, PixelRay& secondary, SecondaryRays& secondaries, int depth);
    void Transmit(const RayScene& scene, const RayScene::Object& object, PixelRay& secondary,
                  SecondaryRays& secondaries, int depth);
};
