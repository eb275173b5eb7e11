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

    // An enabled face of a box, laid out once per frame in the order of the face table: what the
    // box test would otherwise look up and add up for every ray.
    struct BoxFaceData
    {
        int table;                                          // index in the face table
        int axis;                                           // of the normal
        int first, second;                                  // the bounded axes
        double plane;                                       // the face's coordinate on its axis
        double firstLow, firstHigh, secondLow, secondHigh;  // centre -/+ half extent
        RayVec normal[2];                                   // outward; inward (reversed)
        double sign[2];  // the normal's sign on its axis, likewise
    };

    struct Object
    {
        Shape shape;
        RayVec centre;       // the node's position
        RayVec halfExtent;   // the node's scale (box half extents)
        double boundRadius;  // largest scale component times the node's size
        // Squared distances at or below which the bounding test surely passes, and above which
        // it surely fails; in between (or when the window is off: both negative) the root is
        // taken. Worked out once per frame so that most rays skip the square root.
        double boundPassSquare;
        double boundFailSquare;
        double radius;              // sphere radius
        std::int32_t faceMask;      // box faces present
        bool insideOut;             // box faces point inwards
        std::int32_t boxFaceCount;  // enabled faces, in boxFaces
        BoxFaceData boxFaces[6];
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
        bool unattenuated;  // all three coefficients 0: the factor is 1 at every finite distance
    };

    // What the tests of one object compute from a ray's origin alone, worked out once per frame
    // for the eye, where every primary ray starts: the same operations on the same values, so a
    // ray from the eye gets the same bits either way.
    struct EyeTerms
    {
        RayVec centreOffset;        // centre - eye (bounding test)
        RayVec sphereOffset;        // eye - centre
        double sphereConstant;      // sphereOffset . sphereOffset - radius^2
        double planeNumerator;      // planeDistance - eye . planeNormal
        double boxNumerator[2][6];  // per box face (faces turned inwards or not): q - eye . n * na
    };

    RayScene();

    // Copies the world's objects (its children, in list order), lights, background and default
    // material. A null world gives an empty scene with a black background.
    void Capture(QVSGWorld* world);

    // Works out the eye terms of every captured object for rays starting at eye; call after
    // Capture. Rays from elsewhere, or without a call, compute everything themselves.
    void SetEye(const RayVec& eye);
    // The terms for object number i when origin is bit for bit the eye given last, else null.
    const EyeTerms* EyeTermsFor(const RayVec& origin) const;

    const std::vector<Object>& GetObjects() const { return objects; }
    const std::vector<Light>& GetLights() const { return lights; }
    const RayColour& GetBackground() const { return background; }
    QVSGMaterial* GetDefaultMaterial() const { return defaultMaterial; }

private:
    std::vector<Object> objects;
    std::vector<Light> lights;
    RayColour background;
    QVSGMaterial* defaultMaterial;
    std::vector<EyeTerms> eyeTerms;  // one per object once SetEye ran, else empty
    RayVec eye;
};
