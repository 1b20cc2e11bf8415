#include "render/ScenePlacements.h"

#include "math/Math3D.h"

#include <numbers>

std::array<TMatrix, LanePanelCount> LanePanelMatrices{};
std::array<TMaterial, LanePanelCount> LanePanelMaterials{};
TMatrix PitFrameMatrix{};

namespace {
struct TLanePanel {
    TVector Position;
    float Turn; // about z
    float Red, Green, Blue;
};
constexpr float Pi = std::numbers::pi_v<float>;
constexpr std::array<TLanePanel, LanePanelCount> LanePanels{{
    {{1, 0, 0.25f}, -Pi / 2, 0, 112, 208},
    {{-1, 0, 0.25f}, Pi / 2, 72, 219, 120},
    {{0, 1, 0.25f}, 0, 255, 178, 8},
    {{0, -1, 0.25f}, Pi, 235, 62, 66},
}};
constexpr TVector LanePanelScale{1.2f, 1, 1};
constexpr float LanePanelPower = 15;
} // namespace

void InitScenePlacements() {
    for (int k = 0; k < LanePanelCount; ++k) {
        const TLanePanel& panel = LanePanels[k];
        LanePanelMatrices[k] =
            ComposeObjectMatrix(LanePanelScale, panel.Position, {0, 0, panel.Turn});
        LanePanelMaterials[k] =
            InitMaterial(panel.Red / 255, panel.Green / 255, panel.Blue / 255, 0, LanePanelPower);
    }
    PitFrameMatrix = ComposeObjectMatrix({0.33f, 0.33f, 3}, {0, 0, -0.25f}, {0, 0, 0});
}
