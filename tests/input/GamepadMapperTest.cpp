// What a controller's buttons and sticks mean as keys, and when a held arrow repeats.

#include "platform/input/GamepadMapper.h"
#include "platform/interfaces/VirtualKeys.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
class GamepadMapperTest : public ::testing::Test {
protected:
    // The virtual key codes received since the last call.
    std::vector<std::uint16_t> Keys() {
        std::vector<std::uint16_t> codes;
        for (const TGamepadKey& key : Received) {
            codes.push_back(key.VirtualKey);
        }
        Received.clear();
        return codes;
    }

    std::vector<TGamepadKey> Received;
    TGamepadMapper Mapper{[this](const TGamepadKey& key) { Received.push_back(key); }};
};

using Codes = std::vector<std::uint16_t>;
} // namespace

TEST_F(GamepadMapperTest, FaceButtonsStandForEnterEscapeAndNewGameOnPressOnly) {
    Mapper.ButtonDown(TGamepadButton::South, 0);
    Mapper.ButtonDown(TGamepadButton::East, 0);
    Mapper.ButtonDown(TGamepadButton::Start, 0);
    Mapper.ButtonDown(TGamepadButton::Back, 0);
    Mapper.ButtonDown(TGamepadButton::Other, 0);
    EXPECT_EQ(
        Received,
        (std::vector<TGamepadKey>{
            {VK_RETURN, '\r'}, {VK_ESCAPE, '\x1b'}, {VK_ESCAPE, '\x1b'}, {VK_F2, std::nullopt}}));
    Received.clear();
    // Held buttons do not repeat: a held Escape would pause and resume over and over.
    Mapper.Advance(5000);
    Mapper.ButtonUp(TGamepadButton::South, 5000);
    Mapper.Advance(10000);
    EXPECT_TRUE(Received.empty());
}

TEST_F(GamepadMapperTest, DpadAndStickGiveTheArrowsWithoutCharacters) {
    Mapper.ButtonDown(TGamepadButton::DpadUp, 0);
    Mapper.ButtonUp(TGamepadButton::DpadUp, 0);
    Mapper.ButtonDown(TGamepadButton::DpadDown, 0);
    Mapper.ButtonUp(TGamepadButton::DpadDown, 0);
    Mapper.ButtonDown(TGamepadButton::DpadLeft, 0);
    Mapper.ButtonUp(TGamepadButton::DpadLeft, 0);
    Mapper.ButtonDown(TGamepadButton::DpadRight, 0);
    Mapper.ButtonUp(TGamepadButton::DpadRight, 0);
    for (const TGamepadKey& key : Received) {
        EXPECT_FALSE(key.Character);
    }
    EXPECT_EQ(Keys(), (Codes{VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}));

    Mapper.AxisMoved(TGamepadAxis::LeftY, -32768, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftY, 32767, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftY, 0, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftX, -20000, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftX, 20000, 0);
    EXPECT_EQ(Keys(), (Codes{VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}));
}

TEST_F(GamepadMapperTest, StickCountsPastItsDeadZoneByTheAxisPushedFurther) {
    Mapper.AxisMoved(TGamepadAxis::LeftX, StickDeadZone, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftY, -StickDeadZone, 0);
    Mapper.AxisMoved(TGamepadAxis::Other, 32767, 0);
    EXPECT_EQ(Keys(), Codes{}) << "a stick resting at the dead zone's edge is not pushed";

    Mapper.AxisMoved(TGamepadAxis::LeftX, 20000, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftY, -25000, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftY, -20000, 0);
    EXPECT_EQ(Keys(), (Codes{VK_RIGHT, VK_UP, VK_RIGHT})) << "diagonals, a tie going across";

    // Moving within one direction gives no new key; leaving it for the centre gives none.
    Mapper.AxisMoved(TGamepadAxis::LeftY, 0, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftX, 30000, 0);
    Mapper.AxisMoved(TGamepadAxis::LeftX, 0, 0);
    EXPECT_EQ(Keys(), Codes{});
}

TEST_F(GamepadMapperTest, LatestDpadDirectionWinsAndTheStickComesBackWhenItIsLetGo) {
    Mapper.AxisMoved(TGamepadAxis::LeftX, -30000, 0);
    Mapper.ButtonDown(TGamepadButton::DpadUp, 0);
    Mapper.ButtonDown(TGamepadButton::DpadRight, 0);
    Mapper.ButtonUp(TGamepadButton::DpadRight, 0);
    Mapper.ButtonUp(TGamepadButton::DpadUp, 0);
    EXPECT_EQ(Keys(), (Codes{VK_LEFT, VK_UP, VK_RIGHT, VK_UP, VK_LEFT}));
}

TEST_F(GamepadMapperTest, HeldArrowRepeatsAfterTheDelayThenSteadilyAndStopsWhenLetGo) {
    Mapper.ButtonDown(TGamepadButton::DpadLeft, 1000);
    Mapper.Advance(1000 + ArrowRepeatDelayMs - 1);
    EXPECT_EQ(Keys(), Codes{VK_LEFT});
    Mapper.Advance(1000 + ArrowRepeatDelayMs);
    Mapper.Advance(1000 + ArrowRepeatDelayMs + ArrowRepeatIntervalMs - 1);
    EXPECT_EQ(Keys(), Codes{VK_LEFT});
    Mapper.Advance(1000 + ArrowRepeatDelayMs + ArrowRepeatIntervalMs);
    EXPECT_EQ(Keys(), Codes{VK_LEFT});

    // A long pause between polls (a dialog, a slow frame) gives one repeat, not a burst.
    Mapper.Advance(60000);
    Mapper.Advance(60000 + ArrowRepeatIntervalMs - 1);
    EXPECT_EQ(Keys(), Codes{VK_LEFT});

    // A new direction starts its own delay.
    Mapper.ButtonDown(TGamepadButton::DpadRight, 60010);
    Mapper.Advance(60010 + ArrowRepeatDelayMs - 1);
    EXPECT_EQ(Keys(), Codes{VK_RIGHT});

    Mapper.ButtonUp(TGamepadButton::DpadRight, 60020);
    Mapper.ButtonUp(TGamepadButton::DpadLeft, 60020);
    Mapper.Advance(70000);
    EXPECT_EQ(Keys(), Codes{VK_LEFT}) << "letting go of right leaves left held, at once";
    Mapper.Advance(80000);
    EXPECT_EQ(Keys(), Codes{});
}

TEST_F(GamepadMapperTest, RepeatSurvivesTheWrapOfTheTickCount) {
    constexpr std::uint32_t beforeWrap = 0xFFFFFF00u;
    Mapper.AxisMoved(TGamepadAxis::LeftY, 32767, beforeWrap);
    Mapper.Advance(beforeWrap + 100);
    EXPECT_EQ(Keys(), Codes{VK_DOWN}) << "no early repeat just before the wrap";
    Mapper.Advance(beforeWrap + ArrowRepeatDelayMs);
    EXPECT_EQ(Keys(), Codes{VK_DOWN});
}
