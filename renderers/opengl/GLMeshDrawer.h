#pragma once

class QVSGMaterial;
class QVSGMesh;

// Draws mesh under the current model-view matrix (through GLTriangleFeed): placed by its position,
// rotations about x, y and z (degrees, in this order) and scale, normals rescaled, each face group
// with its material (defaultMaterial for a group without one; with neither, the current GL
// material stays) and, when the material's image was prepared, its texture modulated by the lit
// colour. Only whole triangles whose three indexes name vertices of the mesh are drawn: the
// others, and index positions beyond the index array, are skipped. The enable state is restored
// afterwards.
void DrawMesh(QVSGMesh& mesh, QVSGMaterial* defaultMaterial);
