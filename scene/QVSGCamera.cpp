#include "scene/QVSGCamera.h"

#include "scene/QVSGKind.h"

#include <cmath>

namespace
{
// The camera's arithmetic runs on x, y and z only; a fourth component (1 for points) never
// enters a length, a dot product or a cross product.
struct Vec3
{
    double x, y, z;
};

// Missing components of a shorter vector read as 0.
Vec3 Xyz(const QVVector& v)
{
    const unsigned n = v.GetDimension();
    return {n > 0 ? v[0] : 0.0, n > 1 ? v[1] : 0.0, n > 2 ? v[2] : 0.0};
}

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

Vec3 Cross(const Vec3& a, const Vec3& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Scales to length 1; false (v unchanged) when it has no direction.
bool Normalise(Vec3& v)
{
    const double length = std::sqrt(Dot(v, v));
    if (!(length > 0.0) || !std::isfinite(length))
    {
        return false;
    }
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

// x, y, z of v; a fourth component becomes 0 (the basis vectors are directions).
void Store(QVVector& v, const Vec3& value)
{
    v[0] = value.x;
    v[1] = value.y;
    v[2] = value.z;
    if (v.GetDimension() > 3)
    {
        v[3] = 0.0;
    }
}
}  // namespace

QVSGCamera::QVSGCamera()
    : nearDistance(0.0), farDistance(0.0), top(0.0), bottom(0.0), left(0.0), rightEdge(0.0),
      fieldOfView(0.0), aspect(0.0), projection(4, 4), target(4), forward(4), up(4), right(4),
      view(4, 4), TrackTarget(0)
{
    AddKindFlags(QVSG_KIND_CAMERA);
    projection.SetIdentity();
    forward[2] = 1.0;
    up[1] = 1.0;
    view.SetIdentity();
}

QVSGCamera::~QVSGCamera() = default;

void QVSGCamera::SetPerspective(double fov, double aspectRatio, double nearPlane, double farPlane)
{
    fieldOfView = fov;
    aspect = aspectRatio;
    nearDistance = nearPlane;
    farDistance = farPlane;
    projection.SetIdentity();
    const double halfAngle = fov * 0.5 * 0.017453292519943295;
    const double s = std::sin(halfAngle);
    const double depth = nearPlane - farPlane;
    if (depth == 0.0 || s == 0.0 || aspectRatio == 0.0)
    {
        return;
    }
    const double k = std::cos(halfAngle) / s;
    double** p = projection.GetRows();
    p[0][0] = k / aspectRatio;
    p[1][1] = k;
    p[2][2] = (nearPlane + farPlane) / depth;
    p[2][3] = -1.0;
    p[3][2] = 2.0 * nearPlane * farPlane / depth;
    p[3][3] = 0.0;
}

void QVSGCamera::SetFrustum(double width, double height, double nearPlane, double farPlane)
{
    left = -width / 2.0;
    rightEdge = width / 2.0;
    top = height / 2.0;
    bottom = -height / 2.0;
    nearDistance = nearPlane;
    farDistance = farPlane;
    projection.SetIdentity();
    double** p = projection.GetRows();
    p[0][0] = 2.0 * nearPlane / width;
    p[1][1] = 2.0 * nearPlane / height;
    p[2][2] = (nearPlane + farPlane) / (nearPlane - farPlane);
    p[2][3] = -1.0;
    p[3][2] = 2.0 * nearPlane * farPlane / (nearPlane - farPlane);
    p[3][3] = 0.0;
}

void QVSGCamera::SetOrtho(double l, double r, double b, double t, double n, double f)
{
    projection.SetIdentity();
    double** p = projection.GetRows();
    p[0][0] = 2.0 / (r - l);
    p[1][1] = 2.0 / (t - b);
    p[2][2] = 2.0 / (n - f);
    p[3][0] = (r + l) / (l - r);
    p[3][1] = (t + b) / (b - t);
    p[3][2] = (n + f) / (n - f);
    p[3][3] = 1.0;
}

void QVSGCamera::LookAt(const QVVector& point)
{
    Vec3 newForward = Sub(Xyz(point), Xyz(position));
    const bool aimed = Normalise(newForward);
    Vec3 newRight = Cross(newForward, Xyz(up));
    const bool square = aimed && Normalise(newRight);
    target = point;
    // A zero forward (target at the eye) or a zero right (forward along up) has no direction:
    // storing it would leave up zero too, and every later LookAt would then fail the same way, so
    // the camera could never recover. Keep the last good basis instead.
    if (!square)
    {
        return;
    }
    const Vec3 newUp = Cross(newRight, newForward);
    Store(forward, newForward);
    Store(right, newRight);
    Store(up, newUp);
}

void QVSGCamera::BuildView()
{
    const Vec3 e = {-position[0], -position[1], -position[2]};
    const Vec3 f = Xyz(forward);
    const Vec3 u = Xyz(up);
    const Vec3 r = Xyz(right);
    const Vec3 g = {-f.x, -f.y, -f.z};
    double** v = view.GetRows();
    v[0][0] = r.x;
    v[0][1] = u.x;
    v[0][2] = -f.x;
    v[0][3] = 0.0;
    v[1][0] = r.y;
    v[1][1] = u.y;
    v[1][2] = -f.y;
    v[1][3] = 0.0;
    v[2][0] = r.z;
    v[2][1] = u.z;
    v[2][2] = -f.z;
    v[2][3] = 0.0;
    v[3][0] = Dot(e, r);
    v[3][1] = Dot(e, u);
    v[3][2] = Dot(e, g);
    v[3][3] = 1.0;
}

void QVSGCamera::UpdateView()
{
    if (TrackTarget == 1)
    {
        LookAt(target);
    }
    BuildView();
}

void QVSGCamera::Move(const QVVector& delta)
{
    const Vec3 f = Xyz(forward);
    const Vec3 u = Xyz(up);
    const Vec3 r = Xyz(right);
    const Vec3 d = Xyz(delta);
    const double dx = d.x;
    const double dy = d.y;
    const double dz = d.z;
    position[0] += f.x * dz + u.x * dy + r.x * dx;
    position[1] += f.y * dz + u.y * dy + r.y * dx;
    position[2] += f.z * dz + u.z * dy + r.z * dx;
    UpdateView();
}
