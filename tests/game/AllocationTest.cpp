// Proves that play never allocates. This program replaces the global allocation functions
// with ones that count while a flag is set; the other forms of new and delete end in these.

#include "GameTestSupport.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> Counting{false};
std::atomic<long> Allocations{0};

struct TSilentOutlet : IGameOutlet {
    void ShowScore(std::int32_t) override {}
    void PlaySoundEffect(std::string_view) override {}
    void AddScore(std::int32_t) override {}
};
} // namespace

void* operator new(std::size_t size) {
    Allocations += Counting ? 1 : 0;
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

// Guards the fixed ball array and the kick name built in place: a long game of spawns,
// catches, bonuses, removals, lost slots and the end allocates nothing.
TEST(GameAllocation, ALongGameAllocatesNothing) {
    Options = std::make_unique<TOptions>();
    Options->Difficulty = 1;
    GameState = gsPlaying;
    TSilentOutlet outlet;
    auto game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
    game->SetOutlet(&outlet);

    Counting = true;
    auto probe = std::make_unique<std::vector<int>>(64); // the counter itself works
    probe->at(3) = 1;
    game->NewGame();
    const long probed = Allocations;
    for (int frame = 0; frame < 200'000 && GameState != gsGameOver; ++frame) {
        MakeMove(*game, Options->Score >= 1500 ? TPlayer::Missing : TPlayer::Perfect);
        PlayFrame(*game, 16);
    }
    Counting = false;
    EXPECT_GE(probed, 1);
    EXPECT_EQ(Allocations, probed);
    EXPECT_EQ(GameState, gsGameOver);
    Options.reset();
}
