#pragma once
// What one game controller means as keys. The d-pad and the left stick are the arrow keys,
// repeated while held as a keyboard repeats them; the face buttons stand for the character
// keys that go on from the pictures and pause the game, Back for New Game (F2). No SDL here:
// the controller layer feeds it the buttons and axes it reads, with the tick count of each.
// One instance per open controller; user-interface thread only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

enum class TGamepadButton {
    South,
    East,
    Start,
    Back,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
    Other
};
enum class TGamepadAxis { LeftX, LeftY, Other };

// A key the controller stands for: a key-down with its virtual key code, and the character
// that key produces, if any.
struct TGamepadKey {
    std::uint16_t VirtualKey = 0;
    std::optional<char> Character;
    bool operator==(const TGamepadKey&) const = default;
};

// A stick must leave this much of its travel (of 32767) behind before it counts as pushed;
// worn sticks rest well off centre.
constexpr std::int32_t StickDeadZone = 10000;
// As a desktop keyboard repeats by default: the first repeat after half a second, then
// about 25 a second.
constexpr std::uint32_t ArrowRepeatDelayMs = 500;
constexpr std::uint32_t ArrowRepeatIntervalMs = 40;

class TGamepadMapper {
public:
    // Receives every key the controller stands for, in the order they happen.
    using TKeySink = std::function<void(const TGamepadKey&)>;

    explicit TGamepadMapper(TKeySink sink);

    void ButtonDown(TGamepadButton button, std::uint32_t now);
    void ButtonUp(TGamepadButton button, std::uint32_t now);
    // value from -32768 (left, up) to 32767 (right, down).
    void AxisMoved(TGamepadAxis axis, std::int32_t value, std::uint32_t now);
    // The auto-repeat of a held arrow; called once per poll, after the controller's events.
    // A long gap between calls gives one repeat, not a burst.
    void Advance(std::uint32_t now);

private:
    // The arrow held now: the latest d-pad direction still down, else the stick's.
    std::uint16_t HeldArrow() const;
    std::uint16_t StickArrow() const;
    void HeldArrowMayHaveChanged(std::uint32_t now);

    TKeySink Sink;
    void ForgetDpadArrow(std::uint16_t arrow);

    // D-pad arrows in the order they went down, the latest last.
    std::array<std::uint16_t, 4> DpadHeld{};
    std::size_t DpadHeldCount = 0;
    std::int32_t StickX = 0;
    std::int32_t StickY = 0;
    std::uint16_t RepeatingArrow = 0;
    std::uint32_t NextRepeatAt = 0;
};
