#include "platform/input/GamepadMapper.h"

#include "platform/interfaces/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>

namespace {
std::uint16_t DpadArrow(TGamepadButton button) {
    switch (button) {
    case TGamepadButton::DpadUp:
        return VK_UP;
    case TGamepadButton::DpadDown:
        return VK_DOWN;
    case TGamepadButton::DpadLeft:
        return VK_LEFT;
    case TGamepadButton::DpadRight:
        return VK_RIGHT;
    default:
        return 0;
    }
}

// The character keys the buttons stand for. South is Enter rather than Space: Space at the
// interlude would open a web page.
std::optional<TGamepadKey> ButtonKey(TGamepadButton button) {
    switch (button) {
    case TGamepadButton::South:
        return TGamepadKey{VK_RETURN, static_cast<char>(VK_RETURN)};
    case TGamepadButton::East:
    case TGamepadButton::Start:
        return TGamepadKey{VK_ESCAPE, static_cast<char>(VK_ESCAPE)};
    case TGamepadButton::Back:
        return TGamepadKey{VK_F2, std::nullopt};
    default:
        return std::nullopt;
    }
}

// Tick counts wrap; a difference read as signed tells which of two nearby times is later.
bool Reached(std::uint32_t now, std::uint32_t at) {
    return static_cast<std::int32_t>(now - at) >= 0;
}
} // namespace

TGamepadMapper::TGamepadMapper(TKeySink sink) : Sink(std::move(sink)) {}

void TGamepadMapper::ButtonDown(TGamepadButton button, std::uint32_t now) {
    if (const std::uint16_t arrow = DpadArrow(button)) {
        ForgetDpadArrow(arrow);
        DpadHeld[DpadHeldCount++] = arrow;
        HeldArrowMayHaveChanged(now);
    } else if (const std::optional<TGamepadKey> key = ButtonKey(button)) {
        Sink(*key);
    }
}

void TGamepadMapper::ButtonUp(TGamepadButton button, std::uint32_t now) {
    if (const std::uint16_t arrow = DpadArrow(button)) {
        ForgetDpadArrow(arrow);
        HeldArrowMayHaveChanged(now);
    }
}

void TGamepadMapper::AxisMoved(TGamepadAxis axis, std::int32_t value, std::uint32_t now) {
    if (axis == TGamepadAxis::LeftX) {
        StickX = value;
    } else if (axis == TGamepadAxis::LeftY) {
        StickY = value;
    } else {
        return;
    }
    HeldArrowMayHaveChanged(now);
}

void TGamepadMapper::Advance(std::uint32_t now) {
    if (RepeatingArrow == 0 || !Reached(now, NextRepeatAt)) {
        return;
    }
    Sink(TGamepadKey{RepeatingArrow, std::nullopt});
    NextRepeatAt += ArrowRepeatIntervalMs;
    if (Reached(now, NextRepeatAt)) {
        NextRepeatAt = now + ArrowRepeatIntervalMs;
    }
}

void TGamepadMapper::ForgetDpadArrow(std::uint16_t arrow) {
    const auto held = DpadHeld.begin();
    const auto end = std::remove(held, held + static_cast<std::ptrdiff_t>(DpadHeldCount), arrow);
    DpadHeldCount = static_cast<std::size_t>(end - held);
}

std::uint16_t TGamepadMapper::StickArrow() const {
    const std::int32_t across = std::abs(StickX);
    const std::int32_t along = std::abs(StickY);
    // A diagonal push counts as the arrow of the axis pushed further; a tie goes across,
    // to the two arrows every difficulty accepts.
    if (across >= along) {
        return across > StickDeadZone ? (StickX < 0 ? VK_LEFT : VK_RIGHT) : 0;
    }
    return along > StickDeadZone ? (StickY < 0 ? VK_UP : VK_DOWN) : 0;
}

std::uint16_t TGamepadMapper::HeldArrow() const {
    return DpadHeldCount > 0 ? DpadHeld[DpadHeldCount - 1] : StickArrow();
}

void TGamepadMapper::HeldArrowMayHaveChanged(std::uint32_t now) {
    const std::uint16_t arrow = HeldArrow();
    if (arrow == RepeatingArrow) {
        return;
    }
    RepeatingArrow = arrow;
    if (arrow != 0) {
        Sink(TGamepadKey{arrow, std::nullopt});
        NextRepeatAt = now + ArrowRepeatDelayMs;
    }
}
