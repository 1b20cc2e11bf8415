#include "game/ReplayCheck.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "game/GameFlow.h"
#include "settings/Options.h"

#include <memory>

namespace {
// Hears nothing and shows nothing; keeps the score offered at game over.
class TOutcomeOutlet final : public IGameOutlet {
public:
    void ShowScore(std::int32_t) override {}
    void PlaySoundEffect(std::string_view) override {}
    void AddScore(std::int32_t score) override { Offered = score; }

    std::optional<std::int32_t> Offered;
};

// The shared state a game writes, taken at construction and put back at destruction.
class TSharedGameState {
public:
    TSharedGameState()
        : State(GameState), Saved(SavedState), DeltaMs(FrameDeltaMs), Seed(RandSeed),
          Score(Options->Score), Lives(Options->Lives), Difficulty(Options->Difficulty),
          View(Options->View) {}
    ~TSharedGameState() {
        GameState = State;
        SavedState = Saved;
        FrameDeltaMs = DeltaMs;
        RandSeed = Seed;
        Options->Score = Score;
        Options->Lives = Lives;
        Options->Difficulty = Difficulty;
        Options->View = View;
    }
    TSharedGameState(const TSharedGameState&) = delete;
    TSharedGameState& operator=(const TSharedGameState&) = delete;

private:
    std::uint8_t State;
    std::uint8_t Saved;
    std::uint32_t DeltaMs;
    std::uint32_t Seed;
    std::int32_t Score;
    std::int8_t Lives;
    std::uint8_t Difficulty;
    std::uint8_t View;
};
} // namespace

TReplayOutcome ReplayHeadless(std::span<const TGameCommand> commands) {
    const TSharedGameState shared;
    // As the window stands at its title, where every recording starts.
    FlowToTitle();
    FrameDeltaMs = 0;
    TOutcomeOutlet outlet;
    const auto game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
    game->SetOutlet(&outlet);
    for (const TGameCommand& command : commands) {
        ApplyGameCommand(*game, command);
    }
    return {Options->Score, outlet.Offered};
}
