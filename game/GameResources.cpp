#include "game/GameResources.h"

#include "math/Math3D.h"

#include <numbers>

std::array<TMatrix, MaxLives> LifeMatrices{};
TMaterial SlotMaterial{};
TMaterial BallMaterial{};
std::array<TComRef<IDirect3DTexture8>, BallLookCount> BallTextures;

namespace {
constexpr std::int32_t LowerRowSize = 5;
constexpr float IconScale = 0.5f;
constexpr double IconSpacing = 0.22;
constexpr float IconHeight = 0.05f;
} // namespace

TVector LifeIconPosition(std::int32_t n) {
    if (n <= LowerRowSize) {
        return {static_cast<float>(1.36 - IconSpacing * n), -1.15f, IconHeight};
    }
    return {static_cast<float>(1.25 - IconSpacing * (n - LowerRowSize)), -0.9f, IconHeight};
}

void BuildLifeMatrix(std::int32_t n) {
    SetLifeMatrix(n, ComposeObjectMatrix({IconScale, IconScale, IconScale}, LifeIconPosition(n),
                                         {0, 0, std::numbers::pi_v<float>}));
}

void SetLifeMatrix(std::int32_t n, const TMatrix& matrix) {
    if (n >= 1 && n <= MaxLives) {
        LifeMatrices[n - 1] = matrix;
    }
}

void InitGameMaterials() {
    SlotMaterial = InitMaterial(120.0f / 255.0f, 40.0f / 255.0f, 0, 0, 5);
    BallMaterial = InitMaterial(1, 1, 1, 0, 5);
}
