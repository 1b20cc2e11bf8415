#pragma once
// The value types every part of the game shares: vectors, matrices, materials and the pose
// of one drawn object.

#include "platform/interfaces/D3D8.h"

using TVector = D3DVECTOR;
using TMatrix = D3DMATRIX;
using TMaterial = D3DMATERIAL8;

// The pose of one drawn object. Whoever changes Scale, Position or Rotation recomposes
// Matrix from the three at once.
struct TObjMatrix {
    TVector Scale{};
    TVector Position{};
    TVector Rotation{}; // radians about x, y and z
    TMatrix Matrix{};
    TComRef<IDirect3DTexture8> Texture;
};
