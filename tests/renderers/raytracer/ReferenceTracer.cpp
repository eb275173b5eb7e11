#include "ReferenceTracer.h"

#include "renderers/raytracer/QVSGPlane.h"
#include "scene/QVFaceGroup.h"
#include "scene/QVSGBox.h"
#include "scene/QVSGKind.h"
#include "scene/QVSGLight.h"
#include "scene/QVSGMaterial.h"
#include "scene/QVSGSphere.h"
#include "scene/QVSGWorld.h"

#include <cmath>
#include <initializer_list>
#include <memory>

namespace
{
QVVector Tracer(const QVVector& v)
{
    QVVector result(4);
    for (unsigned i = 0; i < 3 && i < v.GetDimension(); ++i)
        result[static_cast<int>(i)] = v[static_cast<int>(i)];
    return result;
}

QVVector Scaled(const QVVector& v, double s)
{
    QVVector result(v);
    result *= s;
    return result;
}

QVVector Sum(const QVVector& a, const QVVector& b)
{
    QVVector result(a);
    result += b;
    return result;
}

QVVector Difference(const QVVector& a, const QVVector& b)
{
    QVVector result(4);
    a.Subtract(result, b);
    return result;
}

void Clamp(QVColor& c)
{
    for (double* v : {&c.r, &c.g, &c.b, &c.a})
        *v = *v < 0.0 ? 0.0 : (*v > 1.0 ? 1.0 : *v);
}

void Add(QVColor& c, const QVColor& o)
{
    c.r += o.r;
    c.g += o.g;
    c.b += o.b;
    c.a += o.a;
    Clamp(c);
}

void Scale(QVColor& c, double s)
{
    c.r *= s;
    c.g *= s;
    c.b *= s;
    Clamp(c);
}

void Modulate(QVColor& c, const QVColor& o)
{
    c.r *= o.r;
    c.g *= o.g;
    c.b *= o.b;
    c.a *= o.a;
}
}  // namespace

ReferenceRay::ReferenceRay()
    : origin(4), direction(4), hitPoint(4), normal(4), reflected(4), transmitted(4), colour(0u)
{
}

bool ReferenceRay::Trace(QVSGWorld& world, int depth)
{
    if (traced)
        return distance > 0.0;
    double best = -1.0;
    for (unsigned i = 0; i < world.GetChildCount(); ++i)
    {
        QVSGNode* object = world.GetChild(i);
        distance = -1.0;
        faceIndex = 0;
        if (!Intersect(object) || distance <= 0.0)
            continue;
        if (mode == 1)
            return true;
        if (best >= 0.0 && distance > best)
            continue;
        const double found = distance;
        colour.Set(0, 0, 0, 0);
        material = static_cast<QVSGMesh*>(object)->GetFaceGroup(faceIndex).GetMaterial();
        if (material == nullptr)
            material = &world.GetDefaultMaterial();
        auto secondary = std::make_unique<ReferenceRay>();
        secondary->origin = hitPoint;
        Shade(world, *secondary);
        if (depth != 0 && material->reflectivity != 0.0)
        {
            secondary->direction = reflected;
            secondary->traced = false;
            secondary->mode = 0;
            secondary->Trace(world, depth - 1);
            QVColor part = secondary->colour;
            Scale(part, material->reflectivity);
            Add(colour, part);
        }
        if (depth != 0 && material->transparency != 0.0)
        {
            transmitted = direction;
            secondary->direction = transmitted;
            secondary->traced = false;
            secondary->mode = 2;
            secondary->hitPoint = secondary->origin;
            secondary->Intersect(object);
            secondary->origin = secondary->hitPoint;
            secondary->mode = 0;
            secondary->Trace(world, depth - 1);
            QVColor part = secondary->colour;
            Scale(part, material->transparency);
            Add(colour, part);
        }
        best = found;
    }
    traced = true;
    if (best >= 0.0)
        return true;
    colour = world.GetBackground();
    return false;
}

bool ReferenceRay::Intersect(QVSGNode* node)
{
    const int classId = node->GetClassId();
    if (classId != QVSG_CLASS_PLANE && classId != QVSG_CLASS_SPHERE && classId != QVSG_CLASS_BOX)
        return false;
    QVSGTransform* object = static_cast<QVSGTransform*>(node);
    const QVVector position = Tracer(object->GetPosition());
    const QVVector scale = Tracer(object->GetScale());
    bool hit = false;
    if (classId != QVSG_CLASS_PLANE)
    {
        double radius = scale[0];
        if (scale[1] > radius)
            radius = scale[1];
        if (scale[2] > radius)
            radius = scale[2];
        radius *= object->GetSize();
        const QVVector p =
            Sum(origin, Scaled(direction, Difference(position, origin).DotProduct(direction)));
        if (Difference(p, position).Length() > radius)
            return false;
    }
    if (classId == QVSG_CLASS_PLANE)
    {
        const QVVector& n = static_cast<QVSGPlane*>(node)->GetNormal();
        const double a = n.DotProduct(direction);
        if (a >= 0.0)
            return false;
        if (mode == 1)
            return true;
        distance = (static_cast<QVSGPlane*>(node)->GetDistance() - origin.DotProduct(n)) / a;
        normal = n;
        if (mode == 2)
            normal.Negate();
        hitPoint = Sum(origin, Scaled(direction, distance));
        hit = true;
    }
    else if (classId == QVSG_CLASS_SPHERE)
    {
        const double r = static_cast<QVSGSphere*>(node)->GetRadius();
        const QVVector p = Difference(origin, position);
        const double a = direction.DotProduct(direction);
        const double b = 2.0 * p.DotProduct(direction);
        const double c = p.DotProduct(p) - r * r;
        const double disc = b * b - 4.0 * a * c;
        if (disc < 0.0)
            return false;
        if (disc != 0.0)
            distance =
                mode == 2 ? (-b + std::sqrt(disc)) / (2.0 * a) : (-b - std::sqrt(disc)) / (2.0 * a);
        else
            distance = -b / (2.0 * a);
        if (distance < 0.0)
            return false;
        if (mode == 1)
            return true;
        hitPoint = Sum(origin, Scaled(direction, distance));
        normal = mode == 2 ? Difference(position, hitPoint) : Difference(hitPoint, position);
        normal.Normalize();
        hit = true;
    }
    else
    {
        QVSGBox* box = static_cast<QVSGBox*>(node);
        const bool reverse = (box->GetInsideOut() != 0) != (mode == 2);
        struct Face
        {
            int bit, axis;
            double sign;
            int first, second;
        };
        const Face faces[6] = {{1, 1, -1, 0, 2}, {2, 1, 1, 0, 2},  {4, 0, -1, 1, 2},
                               {8, 0, 1, 1, 2},  {16, 2, 1, 1, 0}, {32, 2, -1, 1, 0}};
        double b = -1.0;
        int counter = -1;
        for (const Face& f : faces)
        {
            if ((box->GetFaceMask() & f.bit) == 0)
                continue;
            ++counter;
            QVVector n(4);
            n[f.axis] = reverse ? -f.sign : f.sign;
            const double facing = n.DotProduct(direction);
            if (!(facing < 0.0))
                continue;
            const double q =
                f.sign > 0 ? position[f.axis] + scale[f.axis] : position[f.axis] - scale[f.axis];
            const double s = (q - origin.DotProduct(n) * n[f.axis]) / (facing * n[f.axis]);
            const QVVector point = Sum(origin, Scaled(direction, s));
            const bool inside = position[f.first] - scale[f.first] <= point[f.first] &&
                                point[f.first] <= position[f.first] + scale[f.first] &&
                                position[f.second] - scale[f.second] <= point[f.second] &&
                                point[f.second] <= position[f.second] + scale[f.second];
            if ((b < 0.0 || s < b) && inside)
            {
                hitPoint = point;
                normal = n;
                faceIndex = counter;
                b = s;
            }
        }
        if (!(b > 0.0))
            return false;
        distance = b;
        hit = true;
    }
    if (hit && mode != 1)
    {
        reflected = Difference(direction, Scaled(normal, 2.0 * direction.DotProduct(normal)));
        reflected.Normalize();
    }
    return hit;
}

void ReferenceRay::Shade(QVSGWorld& world, ReferenceRay& secondary)
{
    colour = material->baseColour;
    QVColor ambient(0u), diffuse(0u), specular(0u);
    for (unsigned i = 0; i < world.GetLightCount(); ++i)
    {
        QVSGLight* light = world.GetLight(i);
        Add(ambient, light->GetAmbient());
        QVVector l = Difference(Tracer(light->GetPosition()), hitPoint);
        const double lightDistance = l.Length();
        l.Normalize();
        secondary.direction = l;
        secondary.traced = false;
        secondary.mode = 1;
        if (secondary.Trace(world, 0))
            continue;
        double factor = light->AttenuationAt(lightDistance);
        double term = l.DotProduct(normal) * factor;
        if (term < 0.0)
            term = 0.0;
        QVColor scratch = light->GetDiffuse();
        Scale(scratch, term);
        Add(diffuse, scratch);
        if (material->shininess != 0)
        {
            const double s = l.DotProduct(reflected) * factor;
            double power = 0.0;
            if (!(s < 0.0))
            {
                power = s;
                for (unsigned k = 0; k < material->shininess; ++k)
                    power *= s;
            }
            scratch = light->GetSpecular();
            Scale(scratch, power);
            Add(specular, scratch);
        }
    }
    Modulate(ambient, material->ambient);
    Modulate(specular, material->specular);
    Modulate(diffuse, material->GetDiffuse());
    Add(colour, ambient);
    Add(colour, diffuse);
    Add(colour, specular);
}
