#pragma once

#include <cstdint>

// Kind bits of scene nodes. Every constructor in a node's class chain ORs its bit into the node's
// KindFlags, so renderers and loaders tell a node's kind at a glance without a run-time type test.
// Values are shared with separately built modules.
enum QVSGKindBits : std::uint32_t
{
    QVSG_KIND_WORLD = 0x80000000u,
    QVSG_KIND_NODE = 0x40000000u,       // every node
    QVSG_KIND_SPATIAL = 0x08000000u,    // cameras, lights, meshes
    QVSG_KIND_ATTRIBUTE = 0x04000000u,  // materials, images
    QVSG_KIND_LIGHT = 0x00800000u,      // on an attribute node the same bit marks an image
    QVSG_KIND_CAMERA = 0x00400000u,     // also set by materials (with the attribute bit)
    QVSG_KIND_MESH = 0x00200000u        // meshes, spheres, boxes
};

// Class codes of scene objects (the 16384 series, plus the colour and the light). Renderers tell
// geometric shapes apart by them.
enum QVSGClassCode : std::int32_t
{
    QVSG_CLASS_LIGHT = 9,
    QVSG_CLASS_COLOR = 0x3001,
    QVSG_CLASS_TRANSFORM = 0x4008,  // kept by cameras and plain meshes
    QVSG_CLASS_MESH = 0x4009,       // tag of a plain mesh's loader collection
    QVSG_CLASS_WORLD = 0x400B,
    QVSG_CLASS_PLANE = 0x400E,
    QVSG_CLASS_SPHERE = 0x400F,
    QVSG_CLASS_BOX = 0x4010
};
