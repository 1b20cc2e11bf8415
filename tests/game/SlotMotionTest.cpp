#include "GameTestSupport.h"

#include <numbers>

namespace {
constexpr float PiFloat = std::numbers::pi_v<float>;
using SlotMotionTest = GameTest;
} // namespace

// Guards the easing: turn and tilt cover 0.01 * delta of what remains, so 100 ms lands on
// the target and 300 ms flips a tilt; the lean takes a twentieth per frame whatever its
// length; from side 2 (angle 0) the right arrow turns the long way up to 3 pi/2; a lost
// slot falls and spins instead.
TEST_F(SlotMotionTest, EasesTurnTiltAndLeanAndFallsWhenLost) {
    TObjMatrix& slot = Game->Slot.Obj;
    Game->TurnSlot(VK_LEFT);
    slot.Rotation = {0, -1, 0};
    Game->AnimateSlot(100);
    EXPECT_EQ(slot.Rotation.y, 0);
    EXPECT_FLOAT_EQ(slot.Rotation.z, PiFloat / 2);
    EXPECT_FLOAT_EQ(slot.Matrix._41, 0.1148f / 20);
    slot.Rotation.x = 0.5f;
    Game->AnimateSlot(300);
    EXPECT_FLOAT_EQ(slot.Rotation.x, -1);
    EXPECT_FLOAT_EQ(slot.Position.x, 0.1148f * (1 - 0.95f * 0.95f));

    Game->TurnSlot(VK_DOWN);
    Game->AnimateSlot(100);
    Game->TurnSlot(VK_RIGHT);
    float previous = 0;
    for (int frame = 0; frame < 100 && previous < 4.7f; ++frame) {
        Game->AnimateSlot(16);
        ASSERT_GT(slot.Rotation.z, previous);
        previous = slot.Rotation.z;
    }
    EXPECT_LT(previous, 3 * PiFloat / 2);
    EXPECT_GE(previous, 4.7f);

    // A lost slot sinks and spins by time; the first frame after the fall stands it up.
    const TVector before = slot.Position;
    Game->SlotState = ssFalling;
    Game->AnimateSlot(100);
    EXPECT_FLOAT_EQ(slot.Position.z, -1.5f);
    EXPECT_FLOAT_EQ(slot.Rotation.z, previous + 1);
    EXPECT_EQ(slot.Position.x, before.x);
    Game->SlotState = ssInPlay;
    Game->AnimateSlot(0);
    EXPECT_EQ(slot.Position.z, 0);
}
