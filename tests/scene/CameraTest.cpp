#include "scene/QVSGCamera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct Point
{
    double x, y, z, w;
};

// p as a row vector times m (the layout the camera builds and GL loads).
Point Transform(QVMatrix& m, Point p)
{
    double** r = m.GetRows();
    const double in[4] = {p.x, p.y, p.z, p.w};
    double out[4];
    for (int c = 0; c < 4; ++c)
    {
        out[c] = in[0] * r[0][c] + in[1] * r[1][c] + in[2] * r[2][c] + in[3] * r[3][c];
    }
    return {out[0], out[1], out[2], out[3]};
}

void ExpectXyz(double x, double y, double z, QVVector& v, double tolerance = 1e-12)
{
    EXPECT_NEAR(x, v[0], tolerance);
    EXPECT_NEAR(y, v[1], tolerance);
    EXPECT_NEAR(z, v[2], tolerance);
}

bool IsIdentity(QVMatrix& m)
{
    for (int r = 0; r < 4; ++r)
    {
        for (int c = 0; c < 4; ++c)
        {
            if (m.GetRows()[r][c] != (r == c ? 1.0 : 0.0))
            {
                return false;
            }
        }
    }
    return true;
}

// Eye at (2, 3.5, 8), looking at the origin.
void Place(QVSGCamera& camera)
{
    camera.SetPosition(2.0, 3.5, 8.0);
    camera.LookAt(QVVector(4));
    camera.BuildView();
}
}  // namespace

// --- projections ---

TEST(CameraProjectionTest, PerspectiveSeventyDegrees)
{
    QVSGCamera camera;
    camera.SetPerspective(70.0, 4.0 / 3.0, 0.1, 1000.0);
    double** p = camera.GetProjection().GetRows();
    EXPECT_NEAR(1.4281480067421146, p[1][1], 1e-15);
    EXPECT_NEAR(p[1][1] * 0.75, p[0][0], 1e-15);
    EXPECT_NEAR((0.1 + 1000.0) / (0.1 - 1000.0), p[2][2], 1e-15);
    EXPECT_EQ(-1.0, p[2][3]);
    EXPECT_NEAR(2.0 * 0.1 * 1000.0 / (0.1 - 1000.0), p[3][2], 1e-15);
    EXPECT_EQ(0.0, p[3][3]);
    EXPECT_EQ(70.0, camera.GetFieldOfView());
    EXPECT_EQ(4.0 / 3.0, camera.GetAspect());
}

TEST(CameraProjectionTest, DegeneratePerspectiveKeepsIdentityButStoresValues)
{
    QVSGCamera camera;
    camera.SetPerspective(70.0, 1.0, 5.0, 5.0);  // near equal to far
    EXPECT_TRUE(IsIdentity(camera.GetProjection()));
    EXPECT_EQ(5.0, camera.GetNear());
    camera.SetPerspective(0.0, 1.0, 0.1, 100.0);  // no field of view
    EXPECT_TRUE(IsIdentity(camera.GetProjection()));
    camera.SetPerspective(60.0, 0.0, 0.1, 100.0);  // no aspect
    EXPECT_TRUE(IsIdentity(camera.GetProjection()));
    EXPECT_EQ(60.0, camera.GetFieldOfView());
}

TEST(CameraProjectionTest, FrustumTwoByTwoAtNearOne)
{
    QVSGCamera camera;
    camera.SetFrustum(2.0, 2.0, 1.0, 1000.0);
    double** p = camera.GetProjection().GetRows();
    EXPECT_EQ(1.0, p[0][0]);
    EXPECT_EQ(1.0, p[1][1]);
    EXPECT_EQ(-1.0, p[2][3]);
    EXPECT_EQ(0.0, p[3][3]);
    EXPECT_EQ(-1.0, camera.GetLeft());
    EXPECT_EQ(1.0, camera.GetRightEdge());
    EXPECT_EQ(1.0, camera.GetTop());
    EXPECT_EQ(-1.0, camera.GetBottom());
    // A point on the near plane lands on depth -1, one on the far plane on +1.
    const Point nearPoint = Transform(camera.GetProjection(), {0, 0, -1, 1});
    const Point farPoint = Transform(camera.GetProjection(), {0, 0, -1000, 1});
    EXPECT_NEAR(-1.0, nearPoint.z / nearPoint.w, 1e-12);
    EXPECT_NEAR(1.0, farPoint.z / farPoint.w, 1e-12);
}

TEST(CameraProjectionTest, OrthoMapsPixelsToTheUnitSquare)
{
    QVSGCamera camera;
    camera.SetOrtho(0.0, 200.0, 150.0, 0.0, -1000.0, 1000.0);
    QVMatrix& p = camera.GetProjection();
    EXPECT_NEAR(-1.0, Transform(p, {0, 0, 0, 1}).x, 1e-12);
    EXPECT_NEAR(1.0, Transform(p, {200, 0, 0, 1}).x, 1e-12);
    EXPECT_NEAR(-1.0, Transform(p, {0, 150, 0, 1}).y, 1e-12);
    EXPECT_NEAR(1.0, Transform(p, {0, 0, 0, 1}).y, 1e-12);
    EXPECT_EQ(1.0, Transform(p, {0, 0, 0, 1}).w);
    EXPECT_EQ(0.0, camera.GetNear());  // SetOrtho stores none of its arguments
}

// --- look-at and view ---

TEST(CameraViewTest, EyeGoesToTheOriginAndTheBasisIsOrthonormal)
{
    QVSGCamera camera;
    Place(camera);
    const Point eye = Transform(camera.GetView(), {2.0, 3.5, 8.0, 1.0});
    EXPECT_NEAR(0.0, eye.x, 1e-12);
    EXPECT_NEAR(0.0, eye.y, 1e-12);
    EXPECT_NEAR(0.0, eye.z, 1e-12);
    EXPECT_EQ(1.0, eye.w);
    const double length = std::sqrt(4.0 + 12.25 + 64.0);
    ExpectXyz(-2.0 / length, -3.5 / length, -8.0 / length, camera.GetForward());
    QVVector& f = camera.GetForward();
    QVVector& u = camera.GetUp();
    QVVector& r = camera.GetRight();
    EXPECT_NEAR(0.0, f[0] * u[0] + f[1] * u[1] + f[2] * u[2], 1e-12);
    EXPECT_NEAR(0.0, f[0] * r[0] + f[1] * r[1] + f[2] * r[2], 1e-12);
    EXPECT_NEAR(1.0, std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]), 1e-12);
    // The target lies straight ahead: on the view's -z axis.
    const Point target = Transform(camera.GetView(), {0, 0, 0, 1});
    EXPECT_NEAR(0.0, target.x, 1e-12);
    EXPECT_NEAR(0.0, target.y, 1e-12);
    EXPECT_NEAR(-length, target.z, 1e-12);
}

TEST(CameraViewTest, PointTargetGivesTheSameBasisAsADirection)
{
    QVSGCamera withPoint;
    QVSGCamera withDirection;
    withPoint.SetPosition(2.0, 3.5, 8.0);
    withDirection.SetPosition(2.0, 3.5, 8.0);
    withPoint.LookAt(QVVector(1.0, 0.5, -2.0));  // w = 1
    QVVector direction(4);
    direction.Set(1.0, 0.5, -2.0, 0.0);
    withDirection.LookAt(direction);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(withDirection.GetForward()[i], withPoint.GetForward()[i]) << i;
        EXPECT_EQ(withDirection.GetUp()[i], withPoint.GetUp()[i]) << i;
        EXPECT_EQ(withDirection.GetRight()[i], withPoint.GetRight()[i]) << i;
    }
    EXPECT_EQ(0.0, withPoint.GetForward()[3]);
    // An up vector that was stored as a point does not tilt the basis either.
    QVSGCamera tilted;
    tilted.SetPosition(2.0, 3.5, 8.0);
    tilted.SetUp(QVVector(0.0, 1.0, 0.0));
    tilted.LookAt(QVVector(1.0, 0.5, -2.0));
    ExpectXyz(withPoint.GetRight()[0], withPoint.GetRight()[1], withPoint.GetRight()[2],
              tilted.GetRight());
}

TEST(CameraViewTest, DegenerateLookAtKeepsTheLastGoodBasis)
{
    QVSGCamera camera;
    Place(camera);
    const double fx = camera.GetForward()[0];
    const double uy = camera.GetUp()[1];
    camera.LookAt(QVVector(2.0, 3.5, 8.0));  // the eye itself
    EXPECT_EQ(fx, camera.GetForward()[0]);
    EXPECT_EQ(uy, camera.GetUp()[1]);
    EXPECT_EQ(8.0, camera.GetTarget()[2]);  // the target is still taken
    QVSGCamera straightUp;
    straightUp.LookAt(QVVector(0.0, 10.0, 0.0));  // forward along the stored up
    ExpectXyz(0, 0, 1, straightUp.GetForward());
    ExpectXyz(0, 1, 0, straightUp.GetUp());
    // Later aims still work: the camera did not lose its up vector.
    straightUp.LookAt(QVVector(0.0, 0.0, -5.0));
    ExpectXyz(0, 0, -1, straightUp.GetForward());
    ExpectXyz(0, 1, 0, straightUp.GetUp());
}

// --- moving ---

TEST(CameraMoveTest, ForwardAndBackReturnsTheEye)
{
    QVSGCamera camera;
    Place(camera);
    camera.SetTrackTarget(1);
    QVVector ahead(4);
    ahead.Set(0.0, 0.0, 1.0, 0.0);
    QVVector back(4);
    back.Set(0.0, 0.0, -1.0, 0.0);
    camera.Move(ahead);
    const double length = std::sqrt(4.0 + 12.25 + 64.0);
    ExpectXyz(2.0 - 2.0 / length, 3.5 - 3.5 / length, 8.0 - 8.0 / length, camera.GetPosition());
    camera.Move(back);
    ExpectXyz(2.0, 3.5, 8.0, camera.GetPosition());
    const Point eye = Transform(camera.GetView(), {2.0, 3.5, 8.0, 1.0});
    EXPECT_NEAR(0.0, eye.z, 1e-12);
}

TEST(CameraMoveTest, SidewaysMoveWithTrackingOrbitsTheTarget)
{
    QVSGCamera camera;
    Place(camera);
    camera.SetTrackTarget(1);
    QVVector side(4);
    side.Set(1.0, 0.0, 0.0, 0.0);
    camera.Move(side);
    // Still aimed at the origin: the target maps onto the view's -z axis.
    const Point target = Transform(camera.GetView(), {0, 0, 0, 1});
    EXPECT_NEAR(0.0, target.x, 1e-12);
    EXPECT_NEAR(0.0, target.y, 1e-12);
    EXPECT_LT(target.z, 0.0);
}

TEST(CameraMoveTest, WithoutTrackingTheBasisStays)
{
    QVSGCamera camera;
    Place(camera);
    const double fx = camera.GetForward()[0];
    QVVector side(4);
    side.Set(1.0, 0.0, 0.0, 0.0);
    camera.Move(side);
    EXPECT_EQ(fx, camera.GetForward()[0]);
    const Point eye = Transform(camera.GetView(), {camera.GetPosition()[0], camera.GetPosition()[1],
                                                   camera.GetPosition()[2], 1.0});
    EXPECT_NEAR(0.0, eye.x, 1e-12);
    EXPECT_NEAR(0.0, eye.z, 1e-12);
}
