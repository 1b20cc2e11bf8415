// Proves that play never allocates.

#include "GameTestSupport.h"
#include "game/ReplayRecorder.h"
#include "platform/interfaces/VirtualKeys.h"
#include "tests/support/CountingAllocator.h"

namespace {
// A game on Normal that hears nothing, made before the counting starts, in `state`.
class GameAllocation : public ::testing::Test {
protected:
    explicit GameAllocation(std::uint8_t state = gsPlaying) {
        Options = std::make_unique<TOptions>();
        Options->Difficulty = 1;
        GameState = state;
        Game->SetOutlet(&Outlet);
    }
    ~GameAllocation() override { Options.reset(); }

    struct TSilentOutlet : IGameOutlet {
        void ShowScore(std::int32_t) override {}
        void PlaySoundEffect(std::string_view) override {}
        void AddScore(std::int32_t) override {}
    } Outlet;
    std::unique_ptr<TGame> Game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
};

class RecordingAllocation : public GameAllocation {
protected:
    RecordingAllocation() : GameAllocation(gsTitle) {}
};
} // namespace

// Guards the fixed ball array and the kick name built in place: a long game of spawns,
// catches, bonuses, removals, lost slots and the end allocates nothing.
TEST_F(GameAllocation, ALongGameAllocatesNothing) {
    CountAllocations = true;
    auto probe = std::make_unique<std::vector<int>>(64); // the counter itself works
    probe->at(3) = 1;
    Game->NewGame();
    const std::uint64_t probed = AllocationCount;
    for (int frame = 0; frame < 200'000 && GameState != gsGameOver; ++frame) {
        MakeMove(*Game, Options->Score >= 1500 ? TPlayer::Missing : TPlayer::Perfect);
        PlayFrame(*Game, 16);
    }
    CountAllocations = false;
    EXPECT_GE(probed, 1u);
    EXPECT_EQ(AllocationCount, probed);
    EXPECT_EQ(GameState, gsGameOver);
}

// Guards the recorder's storage reserved up front: recording every frame and key of a long
// game, from the key that starts it, allocates nothing.
TEST_F(RecordingAllocation, RecordingAGameAllocatesNothing) {
    TReplayRecorder recorder;

    const std::uint64_t before = AllocationCount;
    CountAllocations = true;
    recorder.Apply(*Game, {TCommandKind::Press, 'a'});
    for (std::uint32_t frame = 0; frame < 200'000 && GameState != gsGameOver; ++frame) {
        recorder.Apply(*Game, {TCommandKind::Key, VK_LEFT + frame / 50 % 4});
        recorder.Apply(*Game, {TCommandKind::Press, 'a'}); // leaves the interlude
        recorder.Apply(*Game, {TCommandKind::Frame, 16});
    }
    CountAllocations = false;
    EXPECT_EQ(AllocationCount, before);
    EXPECT_EQ(GameState, gsGameOver);
    EXPECT_TRUE(recorder.Recording());
}
