#pragma once
// The parts of the board that never move: the four coloured lane panels and the rim
// around the central pit. Computed once by the loading step.

#include "core/Types.h"

#include <array>
#include <cstdint>

constexpr int LanePanelCount = 4;

struct TLaneColour {
    std::uint8_t Red, Green, Blue;
};
// The panels' colours in the order below; the bonus balls' looks are made to stand out on
// every one of them.
constexpr std::array<TLaneColour, LanePanelCount> LanePanelColours{
    {{0, 112, 208}, {72, 219, 120}, {255, 178, 8}, {235, 62, 66}}};

// Written once by InitScenePlacements during loading.
// Panel k lies on lane 3, 1, 0 and 2 for k = 0 to 3 (towards +x, -x, +y, -y), its high end
// at the field's edge; blue, green, yellow and red.
extern std::array<TMatrix, LanePanelCount> LanePanelMatrices;
extern std::array<TMaterial, LanePanelCount> LanePanelMaterials;
// The rim shrunk to the pit's size and sunk so it reaches from z -0.25 to 0.05.
extern TMatrix PitFrameMatrix;

void InitScenePlacements();
