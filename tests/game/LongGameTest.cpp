#include "GameTestSupport.h"

#include <functional>

namespace {
class LongGameTest : public GameTest {
protected:
    // Plays 16 ms frames, facing (or avoiding) each arriving ball, until `done` holds, and
    // notes the look of every serial.
    void PlayUntil(bool miss, const std::function<bool()>& done) {
        for (int frame = 0; frame < 1'000'000 && !done(); ++frame) {
            MakeMove(*Game, miss ? TPlayer::Missing : TPlayer::Perfect);
            Frame(16);
            for (std::int32_t index = 0; index < Game->BallCount; ++index) {
                Looks.at(Game->Balls[index].Serial) = Game->Balls[index].Look;
            }
        }
        ASSERT_TRUE(done());
    }
    std::vector<int> Looks = std::vector<int>(1000, -1);
};
} // namespace

// Guards a whole game of perfect play: every ball caught, a spare at serials 100, 200 and
// 300, a slow-down at every fiftieth, the marked balls wearing textures 6 and 7.
TEST_F(LongGameTest, APerfectPlayerCatchesThreeHundredAndFiftyBalls) {
    PlayUntil(false, [] { return Options->Score >= 3500; });
    EXPECT_EQ(Recorder.Count("fall"), 0);
    EXPECT_EQ(Options->Lives, 6);
    EXPECT_EQ(Recorder.Count("life"), 3);
    EXPECT_EQ(Recorder.Count("speed"), 4);
    // Each fifty catches add 50 * 0.000006 and take back 0.00024.
    EXPECT_NEAR(Game->Speed, 0.0002 + 7 * (50 * 0.000006 - 0.00024), 1e-7);
    for (int serial = 1; serial <= 350; ++serial) {
        const int marked = serial % 100 == 0 ? 7 : serial % 50 == 0 ? 6 : -1;
        EXPECT_TRUE(marked >= 0 ? Looks[serial] == marked : Looks[serial] >= 0 && Looks[serial] < 6)
            << serial << " wore " << Looks[serial];
    }
}

// Guards the cap and the end: play on until the spares are held at 9, then miss every
// ball; ten slots are lost, the game ends once and the final score is offered once.
TEST_F(LongGameTest, SparesStopAtNineAndTheGameEndsOnceAfterTheTenthLostSlot) {
    PlayUntil(false, [] { return Options->Score >= 7000; });
    EXPECT_EQ(Options->Lives, 9);
    EXPECT_EQ(Recorder.Count("life"), 7);
    PlayUntil(true, [] { return GameState == gsGameOver; });
    for (int frame = 0; frame < 500; ++frame) {
        Frame(16);
    }
    EXPECT_EQ(Recorder.Count("fall"), 10);
    EXPECT_EQ(Recorder.Count("newslot"), 9);
    EXPECT_EQ(Recorder.Count("gameover"), 1);
    EXPECT_EQ(Recorder.FinalScores, std::vector<std::int32_t>{7000});
}
