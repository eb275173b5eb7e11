#pragma once

#include "renderers/raytracer/RayColour.h"
#include "renderers/raytracer/RayVec.h"

#include <cstdint>
#include <vector>

class QVSGLight;
class QVSGMaterial;
class QVSGMesh;
class QVSGWorld;

// What the tracer reads of a world, copied once per frame into flat arrays: walking the world's
// lists and the nodes' heap vectors for every ray would cost more than the intersections. The
// world keeps owning everything; the snapshot only points at meshes (for their face groups'
// materials) and materials.
class RayScene
{
public:
    enum Shape : std::int32_t
    {
        None,  // a node of another class: tested, never hit
        Plane,
        Sphere,
        Box
    };

    struct Object
    {
        Shape shape;
        RayVec centre;          // the node's position
        RayVec halfExtent;      // the node's scale (box half extents)
        double boundRadius;     // largest scale component times the node's size
        double radius;          // sphere radius
        std::int32_t faceMask;  // box faces present
        bool insideOut;         // box faces point inwards
        RayVec planeNormal;
        double planeDistance;
        QVSGMesh* mesh;  // face groups select the material; null for Shape None
    };

    struct Light
    {
        const QVSGLight* node;  // attenuation is the light's own
        RayVec position;
        RayColour ambient;
        RayColour diffuse;
        RayColour specular;
    };

    RayScene();

    // Copies the world's objects (its children, in list order), lights, background and default
    // material. A null world gives an empty scene with a black background.
    void Capture(QVSGWorld* world);

    const std::vector<Object>& GetObjects() const { return objects; }
    const std::vector<Light>& GetLights() const { return lights; }
    const RayColour& GetBackground() const { return background; }
    QVSGMaterial* GetDefaultMaterial() const { return defaultMaterial; }

private:
    std::vector<Object> objects;
    std::vector<Light> lights;
    RayColour background;
    QVSGMaterial* defaultMaterial;
};
