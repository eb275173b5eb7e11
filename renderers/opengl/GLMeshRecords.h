#pragma once

#include <cstdint>

// What the renderer keeps for a mesh it accepted, one record in each of the mesh's two
// renderer-data slots: slot 0 the vertex count, slot 1 the index count at the time. Owned by the
// renderer; drawing always reads the mesh's current arrays.
struct GLCountRecord
{
    std::int32_t count;
};

constexpr int kVertexCountSlot = 0;
constexpr int kIndexCountSlot = 1;
