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
};
constexpr std::array<TLanePanel, LanePanelCount> LanePanels{{
    {{1, 0, 0.25f}, -std::numbers::pi_v<float> / 2},
    {{-1, 0, 0.25f}, std::numbers::pi_v<float> / 2},
    {{0, 1, 0.25f}, 0},
    {{0, -1, 0.25f}, std::numbers::pi_v<float>},
}};
constexpr TVector LanePanelScale{1.2f, 1, 1};
constexpr float LanePanelPower = 15;
} // namespace

void InitScenePlacements() {
    for (int k = 0; k < LanePanelCount; ++k) {
        const TLanePanel& panel = LanePanels[k];
        LanePanelMatrices[k] =
            ComposeObjectMatrix(LanePanelScale, panel.Position, {0, 0, panel.Turn});
        const TLaneColour& colour = LanePanelColours[k];
        const auto channel = [](std::uint8_t level) { return static_cast<float>(level) / 255.0f; };
        LanePanelMaterials[k] = InitMaterial(channel(colour.Red), channel(colour.Green),
                                             channel(colour.Blue), 0, LanePanelPower);
    }
    PitFrameMatrix = ComposeObjectMatrix({0.33f, 0.33f, 3}, {0, 0, -0.25f}, {0, 0, 0});
}
