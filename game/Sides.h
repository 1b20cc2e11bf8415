#pragma once
// The four lanes and everything that depends on the side: where a ball appears, the angle
// at which the slot faces the lane, the tilt of a kick, and the arrow key that selects it.
// Sides are 0 towards +y, 1 towards -x, 2 towards -y, 3 towards +x. Every function takes a
// side 0 to 3.

#include "core/Types.h"
#include "platform/interfaces/VirtualKeys.h"

#include <array>
#include <cstdint>
#include <numbers>

constexpr std::uint8_t SideCount = 4;

// A kick's tilt of the slot: radians about the x and y axes.
struct TSideTilt {
    float x;
    float y;
};

namespace SideTable {
constexpr std::array<TVector, SideCount> Positions{
    {{0, 1.4f, 3}, {-1.4f, 0, 3}, {0, -1.4f, 3}, {1.4f, 0, 3}}};
// Absolute angles, never reduced modulo 2 pi: the slot turns the long way between 1 and 2.
constexpr std::array<float, SideCount> Angles{std::numbers::pi_v<float>,
                                              static_cast<float>(3 * std::numbers::pi / 2), 0,
                                              static_cast<float>(std::numbers::pi / 2)};
constexpr std::array<TSideTilt, SideCount> Tilts{{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
constexpr std::array<std::uint16_t, SideCount> Keys{VK_UP, VK_RIGHT, VK_DOWN, VK_LEFT};
} // namespace SideTable

// Where a ball of this side appears: 1.4 out along the lane, at height 3.
constexpr TVector SidePosition(std::uint8_t side) {
    return SideTable::Positions[side];
}
// The slot's angle about z when it faces this side.
constexpr float SideAngle(std::uint8_t side) {
    return SideTable::Angles[side];
}
// How far a catch from this side tips the slot.
constexpr TSideTilt SideTilt(std::uint8_t side) {
    return SideTable::Tilts[side];
}
// The arrow key that turns the slot to this side.
constexpr std::uint16_t SideKey(std::uint8_t side) {
    return SideTable::Keys[side];
}
// Easy games only use the sides of the left and right arrows.
constexpr bool SideUsedOnEasy(std::uint8_t side) {
    return side == 1 || side == 3;
}
