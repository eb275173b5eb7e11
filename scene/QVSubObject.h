#pragma once

#include "core/math/QVMatrix.h"
#include "core/math/QVVector.h"
#include "core/string/QVString.h"

// A named part of a loaded mesh with a vector and a matrix of its own (a pivot and a local
// transform, as a loader sees fit). Meshes keep an array of them for loaders to fill.
struct QVSubObject
{
    QVString name;    // empty
    QVVector vector;  // dimension 3, zero
    QVMatrix matrix;  // 4 x 4 identity

    QVSubObject() : name(), vector(3), matrix(4, 4) { matrix.SetIdentity(); }
};
