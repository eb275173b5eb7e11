#pragma once

#include <string>

class ModelMesh;

// Reads a glTF 2.0 model, JSON (.gltf, buffers in files beside it or in data: URIs) or binary
// (.glb, told by its first bytes), into a ModelMesh: the triangles (lists, strips and fans) of
// every primitive of every mesh that a node of the scene shows, placed by the node's transform
// (matrix, or translation, rotation and scale) and its ancestors'; positions, normals and the
// texture coordinates the base colour texture uses (TEXCOORD_0 unless it says otherwise). Each
// material becomes one face group with its base colour factor and texture: an image file beside
// the model, or an embedded image written to a temporary file (EmbeddedImage.h). Points and
// lines, cameras, skins, animations, morph targets and every other material property are left
// out.
//
// The scene is the file's default scene, else its first, else every node that is nobody's child.
// Files are hostile input: buffers and images are only read from the model's folder
// (ModelFolder.h); the GLB container and the JSON nesting are checked before the parser sees them;
// every accessor is checked against its buffer (GltfAccessor.h), every index against its
// primitive's vertices; a node that is its own ancestor or the child of two nodes, a tree deeper
// than model::kMaxNodeDepth, and a flattened mesh past ModelLimits.h end the read.
//
// False, with error set to a message for the user, when the file cannot be read or is refused.
bool ReadGltf(const std::string& path, ModelMesh& mesh, std::string& error);

// Whether text (a JSON document) nests arrays and objects deeper than maxDepth; strings are
// skipped with their escapes.
bool JsonNestsDeeperThan(const char* text, std::size_t size, int maxDepth);
