#pragma once
// What the game's key handlers receive of a Qt key event: the virtual key code of the key
// that went down, and the character the press produces, if any (Escape 27, Space 32, Enter
// 13; the arrow, function and modifier keys produce none).

#include "platform/interfaces/VirtualKeys.h"

#include <cstdint>
#include <optional>

class QKeyEvent;

// 0 for a key without a virtual key code.
std::uint16_t VirtualKeyCode(int qtKey);

std::optional<char> KeyPressCharacter(const QKeyEvent& event);
