#include "render/BackPlane.h"

#include "game/GameResources.h"
#include "math/Math3D.h"
#include "render/Textures.h"

#include <numbers>
#include <utility>

namespace {
// The tilt about y that lays the drum's axis nearly along world x.
constexpr float DrumTilt = 1.8479956f;
constexpr double FullTurn = 2 * std::numbers::pi;
} // namespace

TBackPlane::TBackPlane(TComRef<IDirect3DDevice8> device, float spinSpeed,
                       const std::string& fileName)
    : Device(std::move(device)), SpinSpeed(spinSpeed) {
    Obj.Texture = LoadTextureFromBitmap(Device.Get(), fileName);
    Obj.Scale = {1, 1, 1};
    Obj.Position = {0, 0, 0};
    Obj.Rotation = {0, DrumTilt, 0};
    Obj.Matrix = ComposeObjectMatrix(Obj.Scale, Obj.Position, Obj.Rotation);
}

void TBackPlane::Spin(float elapsedMs) {
    float angle = Obj.Rotation.z + SpinSpeed * elapsedMs;
    if (angle >= FullTurn) {
        angle = static_cast<float>(angle - FullTurn);
    }
    Obj.Rotation.z = angle;
    Obj.Matrix = ComposeObjectMatrix(Obj.Scale, Obj.Position, Obj.Rotation);
}

void TBackPlane::Draw(TSceneMesh mesh, float elapsedMs) {
    Spin(elapsedMs);
    Device->SetMaterial(&BallMaterial);
    Device->SetTexture(0, Obj.Texture.Get());
    Device->SetTransform(D3DTS_WORLD, &Obj.Matrix);
    DrawMesh(mesh);
    Device->SetTexture(0, nullptr);
}
