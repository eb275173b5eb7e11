// The one translation unit that holds the implementations of the header-only parsers. tinygltf
// is built without its own image decoding and file access (see CMakeLists.txt): images go to the
// image loader modules, and every file it reads comes through GltfReader's confined callbacks.
// Its writer uses file streams even when file access is off.
#include <fstream>

#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>

#define TINYOBJLOADER_IMPLEMENTATION
#include <tiny_obj_loader.h>
