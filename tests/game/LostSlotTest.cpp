#include "GameTestSupport.h"

#include "game/GameResources.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {
constexpr double Pi = std::numbers::pi;
using Sounds = std::vector<std::string>;

// Bit for bit, as nothing written leaves them: a rewrite of the same value passes, but so
// would a float comparison of a rewrite with the other zero.
bool SameBits(const std::array<TMatrix, MaxLives>& a, const std::array<TMatrix, MaxLives>& b) {
    for (std::size_t n = 0; n < a.size(); ++n) {
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                if (std::bit_cast<std::uint32_t>(a[n].m[i][j]) !=
                    std::bit_cast<std::uint32_t>(b[n].m[i][j])) {
                    return false;
                }
            }
        }
    }
    return true;
}

void ExpectIcon(std::int32_t n, double scaleCos, double x, double y, double z) {
    const TMatrix& m = LifeMatrices[n - 1];
    const double actual[] = {m._11, m._41, m._42, m._43};
    const double expected[] = {scaleCos, x, y, z};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(actual[k], expected[k], 1e-6) << "icon " << n << ", value " << k;
    }
}

class LostSlotTest : public GameTest {
protected:
    // Misses a ball, then plays 100 ms frames until play stops; returns those frames.
    int MissAndPlayOn() {
        Game->TurnSlot(VK_LEFT);
        RollingBall(1, 0.001f);
        Frame(100);
        int frames = 0;
        for (; GameState == gsPlaying && frames < 100; ++frames) {
            Frame(100);
        }
        return frames;
    }
};
} // namespace

// Guards the replacement of a lost slot: 2000 ms of fall, 1000 ms of fly-in, then one spare
// fewer, the slot facing side 0, one fresh ball and the interlude; a later bonus puts the
// flown icon back into its row.
TEST_F(LostSlotTest, ReplacesTheSlotWithASpareAfterThreeSeconds) {
    Options->Lives = 2;
    EXPECT_EQ(MissAndPlayOn(), 30);
    EXPECT_EQ(Recorder.Sounds, (Sounds{"newgame", "fall", "newslot"}));
    EXPECT_EQ(GameState, gsInterlude);
    EXPECT_EQ(SavedState, gsPlaying);
    EXPECT_EQ(Options->Lives, 1);
    EXPECT_EQ(Game->Slot.Side, 0);
    EXPECT_EQ(Game->SlotState, ssInPlay);
    ASSERT_EQ(Game->BallCount, 1);
    EXPECT_EQ(Game->Balls[0].Serial, 2); // serials count on across lives
    ExpectIcon(2, std::cos(1.1 * Pi), 0, 0, 0);

    RollingBall(0, 0.0001f).Serial = 100;
    Frame(16);
    EXPECT_EQ(Options->Lives, 2);
    ExpectIcon(2, -0.5, 0.92, -1.15, 0.05);
}

// Guards the end: 2000 ms after the last slot is lost the game is over and the score is
// offered exactly once; a finished game resumed without a new game ends the stage at once,
// takes no spare it does not have and writes no icon.
TEST_F(LostSlotTest, EndsTheGameOnceAndNeverTakesASpareThatIsNotThere) {
    Options->Lives = 0;
    Options->Score = 120;
    EXPECT_EQ(MissAndPlayOn(), 20);
    EXPECT_EQ(GameState, gsGameOver);
    EXPECT_EQ(Recorder.Sounds, (Sounds{"newgame", "fall", "gameover"}));
    for (int n = 0; n < 20; ++n) {
        Game->Tick(100);
    }
    EXPECT_EQ(Recorder.FinalScores, std::vector<std::int32_t>{120});

    const auto icons = LifeMatrices;
    GameState = gsPlaying;
    Frame(100);
    EXPECT_EQ(Options->Lives, 0);
    EXPECT_EQ(GameState, gsInterlude);
    EXPECT_EQ(Game->BallCount, 1);
    EXPECT_TRUE(SameBits(icons, LifeMatrices));
}

// Guards the icons: two rows at half size turned half a turn, nothing written outside 1 to
// 9, and the flight of a spare: lift, a tenth of a turn, then a glide to the centre.
TEST_F(LostSlotTest, PlacesTheIconsAndFliesTheLastSpareIn) {
    ExpectIcon(1, -0.5, 1.14, -1.15, 0.05);
    ExpectIcon(5, -0.5, 0.26, -1.15, 0.05);
    ExpectIcon(6, -0.5, 1.03, -0.9, 0.05);
    ExpectIcon(9, -0.5, 0.37, -0.9, 0.05);
    const auto icons = LifeMatrices;
    BuildLifeMatrix(0);
    BuildLifeMatrix(10);
    EXPECT_TRUE(SameBits(icons, LifeMatrices));

    Options->Lives = 7; // rests at (0.81, -0.9, 0.05)
    Game->SlotState = ssReplacing;
    const double stages[3][5] = {
        {100, -0.55, 0.81, -0.9, 0.25},
        {250, 0.625 * std::cos(1.05 * Pi), 0.81, -0.9, 0.45},
        {650, 0.825 * std::cos(1.1 * Pi), 0.405, -0.45, 0.4 * (1 - 0.65 * 0.65) / 0.91 / 2}};
    for (const auto& stage : stages) {
        Game->Elapsed = static_cast<float>(stage[0]);
        Game->Tick(0);
        ExpectIcon(7, stage[1], stage[2], stage[3], stage[4]);
    }
}
