#include "GameTestSupport.h"

namespace {
using TickTest = GameTest;
using Sounds = std::vector<std::string>;
} // namespace

// Guards the catch and the miss: a catch scores, speeds up, sets the interval, kicks and
// tips the slot in the next frame (which the easing starts to take back); a miss loses the
// slot, slows down to no less than the start speed, keeps the interval and sweeps the balls.
TEST_F(TickTest, CatchesAtTheFacedSideAndMissesAtAnyOther) {
    Game->TurnSlot(VK_LEFT); // side 3
    TBall& caught = RollingBall(3, 0.001f);
    Frame(16);
    EXPECT_EQ(Recorder.Sounds, (Sounds{"newgame", "kik"}));
    EXPECT_EQ(Recorder.Shown, 10);
    const float faster = static_cast<float>(0.0002f + 0.000006);
    EXPECT_EQ(Game->Speed, faster);
    EXPECT_EQ(Game->SpawnInterval, static_cast<float>(0.35 / faster));
    EXPECT_EQ(caught.Phase, bpCaught);
    Frame(16);
    EXPECT_EQ(caught.Phase, bpLeaving);
    EXPECT_FLOAT_EQ(Game->Slot.Obj.Rotation.y, -(1 - 0.16f));

    Game->Speed = 0.00021f;
    RollingBall(1, 0.001f);
    Frame(16);
    EXPECT_EQ(Game->SlotState, ssFalling);
    EXPECT_EQ(Recorder.Sounds.back(), "fall");
    EXPECT_EQ(Game->Speed, 0.0002f);
    EXPECT_EQ(Game->SpawnInterval, static_cast<float>(0.35 / faster));
    EXPECT_EQ(Game->Elapsed, 16); // reset by the miss, then this frame's time
    EXPECT_TRUE(std::all_of(Game->Balls.begin(), Game->Balls.begin() + Game->BallCount,
                            [](const TBall& ball) { return ball.Phase == bpLeaving; }));
}

// Guards the order within a frame: arrivals are tested in spawn order, and a ball right
// after a missed one can still be caught.
TEST_F(TickTest, TestsTwoArrivalsOfOneFrameInSpawnOrder) {
    Game->TurnSlot(VK_RIGHT); // side 1
    RollingBall(3, 0.001f);
    RollingBall(1, 0.002f);
    Frame(16);
    EXPECT_EQ(Recorder.Sounds, (Sounds{"newgame", "fall", "kik"}));
    EXPECT_EQ(Options->Score, 10);
}

// Guards the frame length: 0 ms moves no ball and runs no timer (the lean, which does not
// use time, still steps); a huge frame tests an arrival once, spawns once, and a ball
// dropped far below its lane still lands on it.
TEST_F(TickTest, HandlesEmptyAndHugeFrames) {
    RollingBall(0, 1.1f);
    Game->Elapsed = 300;
    Frame(0);
    EXPECT_EQ(Game->Balls[0].Remaining, 1.1f);
    EXPECT_EQ(Game->Elapsed, 300);
    EXPECT_FLOAT_EQ(Game->Slot.Obj.Position.y, 0.1148f / 20);

    Game->Elapsed = 10 * Game->SpawnInterval;
    Frame(100000);
    EXPECT_EQ(Options->Score, 10);
    EXPECT_EQ(Game->BallCount, 2); // one spawn however many intervals passed
    EXPECT_EQ(Game->Elapsed, 100000);
    Frame(100000); // the new ball drops 300 units, far below its lane
    Frame(16);
    EXPECT_EQ(Game->Balls[1].Phase, bpRolling);
    EXPECT_FLOAT_EQ(Game->Balls[1].Obj.Position.z, 0.6f);
    EXPECT_EQ(Recorder.Sounds, (Sounds{"newgame", "kik"}));
}

// Guards a new game over a running one: all resets but the slot's side and pose and the
// time already counted towards the first spawn.
TEST_F(TickTest, NewGameResetsPlayButKeepsTheSlotAndTheTimer) {
    Game->TurnSlot(VK_RIGHT);
    for (int n = 0; n < 30; ++n) {
        Frame(100);
    }
    Options->Score = 70;
    Game->SlotState = ssFalling;
    const TSlot slot = Game->Slot;
    const float elapsed = Game->Elapsed;
    Game->NewGame();
    EXPECT_EQ(Recorder.Shown, 0);
    EXPECT_EQ(Recorder.Sounds, (Sounds{"newgame", "newgame"}));
    EXPECT_EQ(Options->Score + Game->BallCount + Game->BallSerial + Game->SlotState, 0);
    EXPECT_EQ(Options->Lives, 3);
    EXPECT_EQ(Game->SpawnInterval, 1750);
    EXPECT_EQ(Game->Slot.Side, 1);
    EXPECT_EQ(Game->Slot.Obj.Rotation.z, slot.Obj.Rotation.z);
    EXPECT_EQ(Game->Elapsed, elapsed);
}
