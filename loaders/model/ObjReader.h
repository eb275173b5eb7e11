#pragma once

#include <string>

class ModelMesh;

// Reads a Wavefront OBJ model and the material libraries it names (mtllib) into a ModelMesh:
// positions, normals (vn) and texture coordinates (vt) of every polygon face of every object and
// group, polygons split into fans of triangles; each material in use (usemtl) becomes a face group
// with its diffuse colour (Kd, dissolve d as alpha) and diffuse texture (map_Kd). Points, lines,
// vertex colours, free-form geometry and the other material properties are left out.
//
// Files are hostile input: material libraries and textures are only named inside the model's
// folder (ModelFolder.h); a face corner that names a vertex, normal or texture coordinate the file
// does not have, a face of more than 255 corners, and a mesh past ModelLimits.h end the read. A
// material library that is absent is read past, as an OBJ viewer does; the faces then get the
// default material.
//
// False, with error set to a message for the user, when the file cannot be read or is refused.
bool ReadObj(const std::string& path, ModelMesh& mesh, std::string& error);
