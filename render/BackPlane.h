#pragma once
// The textured drum that surrounds the whole scene and rolls slowly about an axis lying
// nearly along world x. It spins only while the game scene is drawn.

#include "core/Types.h"
#include "render/SceneGeometry.h"

#include <string>

class TBackPlane {
public:
    // Keeps the device and loads the drum's picture (LoadTextureFromBitmap: throws EGameError
    // for a missing or bad file). `spinSpeed` is in radians per millisecond.
    TBackPlane(TComRef<IDirect3DDevice8> device, float spinSpeed, const std::string& fileName);

    // Advances the spin by `elapsedMs` and recomposes the drum's matrix. Once the angle
    // reaches a full turn it is wound back by one; a falling angle is left as it is.
    void Spin(float elapsedMs);
    // Spins, then draws `mesh` with the drum's picture and matrix. The caller switches culling
    // off first: the camera sees the drum's inner wall.
    void Draw(TSceneMesh mesh, float elapsedMs);

    TComRef<IDirect3DDevice8> Device;
    TObjMatrix Obj;
    float SpinSpeed;
};
