// What a kept game costs: the size of its file per minute of play, and the time zorbix-sim
// --verify takes to read it and re-play it, for games of up to 10 and 60 minutes played at
// 60 frames a second by the scripted perfect player (a turn for every ball), the longest
// games there are.

#include "core/Globals.h"
#include "core/Random.h"
#include "game/GameFlow.h"
#include "game/ReplayCheck.h"
#include "game/ReplayFile.h"
#include "game/ReplayRecorder.h"
#include "game/ScriptedPlayer.h"
#include "game/Sides.h"
#include "settings/Options.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {
constexpr std::uint32_t ReplayFrameMs = 16;
constexpr std::int64_t FramesPerMinute = 60'000 / ReplayFrameMs;

struct TRecordedGame {
    std::string Text;
    double Minutes = 0; // of play, up to the game's end
};

// The perfect player's keys, as the window would pass them on, until the game ends (the balls
// come too fast at last) or `minutes` have been played.
TRecordedGame RecordedGame(std::int64_t minutes) {
    RandSeed = 1230;
    FlowToTitle();
    const auto game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
    TReplayRecorder recorder;
    recorder.Apply(*game, {TCommandKind::Press, 'a'});
    std::int64_t frame = 0;
    for (; frame < minutes * FramesPerMinute && GameState != gsGameOver; ++frame) {
        if (GameState == gsInterlude) {
            recorder.Apply(*game, {TCommandKind::Press, 'a'});
        }
        const std::uint8_t side = game->Slot.Side;
        MakeMove(*game, TPlayer::Perfect);
        const std::uint8_t wanted = game->Slot.Side;
        if (wanted != side) {
            game->Slot.Side = side; // the key turns it, and is recorded
            recorder.Apply(*game, {TCommandKind::Key, SideKey(wanted)});
        }
        recorder.Apply(*game, {TCommandKind::Frame, ReplayFrameMs});
    }
    return {ReplayText(recorder.Finish({Options->Score, 1, 0, "Ann (normal)"})),
            static_cast<double>(frame) / FramesPerMinute};
}

void BM_VerifyReplay(benchmark::State& state) {
    Options = std::make_unique<TOptions>();
    Options->Difficulty = 1;
    const TRecordedGame game = RecordedGame(state.range(0));
    const std::string& text = game.Text;
    std::int32_t score = 0;
    for (auto _ : state) {
        const TReplay replay = ReadReplay(text);
        score = ReplayHeadless(replay.Commands).Score;
        benchmark::DoNotOptimize(score);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["minutes"] = game.Minutes;
    state.counters["bytes_per_minute"] = static_cast<double>(text.size()) / game.Minutes;
    state.counters["score"] = score;
    Options.reset();
}
} // namespace

BENCHMARK(BM_VerifyReplay)->Arg(10)->Arg(60)->Unit(benchmark::kMillisecond);
