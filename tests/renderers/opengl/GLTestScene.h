#pragma once

#include <cstdint>
#include <vector>

class GLTestSession;
class QVSGCamera;
class QVSGLight;
class QVSGMaterial;
class QVSGMesh;

// The two triangles of a quad whose corners are numbered 0 bottom left, 1 bottom right, 2 top
// right, 3 top left, clockwise as seen from +z (the renderer's front faces).
extern const std::vector<std::int32_t> kQuadIndices;

// Fills mesh with the quad (-1, -1, 0) .. (1, 1, 0) facing +z (normals (0, 0, 1), u and v from 0
// to 1 across it) and one face group over all of indices with material (may be null).
void BuildQuad(QVSGMesh& mesh, QVSGMaterial* material,
               const std::vector<std::int32_t>& indices = kQuadIndices);

// Starts a frame on a black background seen through camera (set to a square perspective of
// fieldOfView degrees at the origin, looking down -z); lighting on with light number 0 when
// light is given, off otherwise.
void BeginSceneFrame(GLTestSession& gl, QVSGCamera& camera, double fieldOfView, QVSGLight* light);
