// The cost of one frame of the simulation: a game as it is played (4 live balls) and the
// array full (10,000). Reported per tick and per ball.

#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/PlayFrame.h"
#include "settings/Options.h"

#include <benchmark/benchmark.h>

#include <limits>
#include <memory>

namespace {
constexpr std::uint32_t FrameMs = 16;

// A game in play with `balls` balls on random lanes, all rolling, whose path never runs
// out, and no spawn due: every tick does the same work.
std::unique_ptr<TGame> GameWithRollingBalls(std::int64_t balls) {
    Options = std::make_unique<TOptions>();
    Options->Difficulty = 1;
    RandSeed = 1;
    GameState = gsPlaying;
    auto game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
    game->NewGame();
    for (std::int64_t n = 0; n < balls; ++n) {
        game->SpawnBall();
        TBall& ball = game->Balls[game->BallCount - 1];
        ball.Phase = bpRolling;
        ball.Obj.Position.z = 0.6f;
        ball.Remaining = std::numeric_limits<float>::max();
    }
    game->SpawnInterval = std::numeric_limits<float>::max();
    return game;
}

void BM_Tick(benchmark::State& state) {
    const std::int64_t balls = state.range(0);
    const auto game = GameWithRollingBalls(balls);
    for (auto _ : state) {
        PlayFrame(*game, FrameMs);
        benchmark::ClobberMemory();
    }
    state.counters["per_ball"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(balls),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    Options.reset();
}
} // namespace

BENCHMARK(BM_Tick)->Arg(4)->Arg(TGame::MaxBalls);

BENCHMARK_MAIN();
