#pragma once

#include <cstdint>

// What the OpenGL renderer takes a node for, decided by its kind bits alone.
enum class GLNodeKind
{
    World,      // world bit
    NotANode,   // node bit clear
    Image,      // attribute + light bit, not spatial
    Material,   // attribute + camera bit (no light bit), not spatial
    Light,      // spatial + light bit
    Camera,     // spatial + camera bit (no light bit)
    Mesh,       // spatial + mesh bit, neither light nor camera bit, neither 0x4000 nor 0x8000
    OtherMesh,  // the same with 0x4000 or 0x8000: meshes of a kind this renderer leaves alone
    Unknown     // anything else: refused
};

// Bits that mark meshes drawn some other way.
constexpr std::uint32_t kOtherMeshBits = 0x4000u | 0x8000u;

GLNodeKind ClassifyNode(std::uint32_t kindFlags);
