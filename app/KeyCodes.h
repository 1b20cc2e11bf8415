#pragma once
// What the game's key handlers receive of a Qt key event: the virtual key code of the key
// that went down, and the character the press produces, if any (Escape 27, Space 32, Enter
// 13; the arrow, function and modifier keys produce none).

#include <cstdint>
#include <optional>

class QKeyEvent;

constexpr std::uint16_t VK_BACK = 8;
constexpr std::uint16_t VK_TAB = 9;
constexpr std::uint16_t VK_RETURN = 13;
constexpr std::uint16_t VK_ESCAPE = 27;
constexpr std::uint16_t VK_SPACE = 32;
constexpr std::uint16_t VK_LEFT = 37;
constexpr std::uint16_t VK_UP = 38;
constexpr std::uint16_t VK_RIGHT = 39;
constexpr std::uint16_t VK_DOWN = 40;
constexpr std::uint16_t VK_F1 = 112;

// 0 for a key without a virtual key code.
std::uint16_t VirtualKeyCode(int qtKey);

std::optional<char> KeyPressCharacter(const QKeyEvent& event);
