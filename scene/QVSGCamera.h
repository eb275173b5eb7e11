#pragma once

#include "core/math/QVMatrix.h"
#include "core/math/QVVector.h"
#include "scene/QVSGTransform.h"

#include <cstdint>

// The viewpoint of a world: the eye (the transform's position), a target point, an orthonormal
// basis (forward, up, right) and two 4 x 4 matrices that renderers load or read. Matrices are
// laid out for row vectors: element [i][j] is row i, column j, the translation lives in row 3 and
// the perspective term in column 3, which is what fixed-function GL loads as a column-major
// matrix. Only x, y and z of the vectors take part in the computations: a point built with w = 1
// gives the same basis as a direction with w = 0.
class QVSGCamera : public QVSGTransform
{
public:
    // Looks along +z with up +y; identity projection and view; kind bit QVSG_KIND_CAMERA.
    QVSGCamera();
    ~QVSGCamera() override;

    // Perspective from the vertical field of view (degrees), width/height aspect and the two
    // clip distances. Near equal to far, a zero aspect or a half angle with zero sine leaves the
    // identity (the arguments are still stored).
    void SetPerspective(double fieldOfView, double aspect, double nearPlane, double farPlane);
    // Symmetric perspective frustum of the given width and height at the near distance. Zero
    // width, height or depth range gives non-finite entries.
    void SetFrustum(double width, double height, double nearPlane, double farPlane);
    // Orthographic box; stores none of its arguments. Zero ranges give non-finite entries.
    void SetOrtho(double left, double right, double bottom, double top, double nearPlane,
                  double farPlane);

    // Aims at target and rebuilds forward, right and up. When the target lies at the eye or
    // straight along up there is no direction to aim at: the target is stored and the previous
    // basis kept, so the camera stays usable.
    void LookAt(const QVVector& target);
    // Rebuilds the view matrix from eye and basis.
    void BuildView();
    // Re-aims at the stored target when TrackTarget is 1, then rebuilds the view.
    void UpdateView();
    // Moves the eye by delta.x along right, delta.y along up and delta.z along forward, then
    // UpdateView. With TrackTarget on, sideways moves orbit the target.
    void Move(const QVVector& delta);

    // Copy a vector in (the member keeps dimension 4).
    void SetTarget(const QVVector& value) { target = value; }
    void SetForward(const QVVector& value) { forward = value; }
    void SetUp(const QVVector& value) { up = value; }
    void SetRight(const QVVector& value) { right = value; }
    void SetTrackTarget(std::uint8_t value) { TrackTarget = value; }

    // Members, owned by the camera.
    QVVector& GetTarget() { return target; }
    QVVector& GetForward() { return forward; }
    QVVector& GetUp() { return up; }
    QVVector& GetRight() { return right; }
    QVMatrix& GetProjection() { return projection; }
    QVMatrix& GetView() { return view; }
    std::uint8_t GetTrackTarget() const { return TrackTarget; }

    double GetNear() const { return nearDistance; }
    double GetFar() const { return farDistance; }
    double GetTop() const { return top; }
    double GetBottom() const { return bottom; }
    double GetLeft() const { return left; }
    double GetRightEdge() const { return rightEdge; }
    double GetFieldOfView() const { return fieldOfView; }
    double GetAspect() const { return aspect; }

private:
    double nearDistance;
    double farDistance;
    double top;
    double bottom;
    double left;
    double rightEdge;
    double fieldOfView;   // vertical, degrees
    double aspect;        // width / height
    QVMatrix projection;  // 4 x 4
    QVVector target;      // dimension 4
    QVVector forward;
    QVVector up;
    QVVector right;
    QVMatrix view;  // 4 x 4
    std::uint8_t TrackTarget;
};
