#include "game/ReplayRecorder.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "settings/Options.h"

#include <bit>
#include <limits>

namespace {
// Four hours of frames at 240 a second; only the pages written are ever touched.
constexpr std::size_t ReservedCommands = std::size_t{4} * 3600 * 240;
} // namespace

TReplayRecorder::TReplayRecorder() {
    Commands.reserve(ReservedCommands);
}

void TReplayRecorder::Apply(TGame& game, TGameCommand command,
                            const std::function<void()>& openHomePage) {
    if (!Active && command.Kind == TCommandKind::Press && GameState == gsTitle) {
        Begin(game);
    }
    if (Active) {
        Record(command);
    }
    ApplyGameCommand(game, command, openHomePage);
    SeedAfterLast = RandSeed;
}

void TReplayRecorder::Note(TGameCommand command) {
    if (Active) {
        Record(command);
        SeedAfterLast = RandSeed;
    }
}

void TReplayRecorder::Begin(const TGame& game) {
    Commands.clear();
    Active = true;
    Commands.push_back({TCommandKind::Seed, RandSeed});
    StartDifficulty = Options->Difficulty;
    Commands.push_back({TCommandKind::Difficulty, StartDifficulty});
    Commands.push_back({TCommandKind::View, Options->View});
    // A new game keeps the last one's slot and clock.
    Commands.push_back({TCommandKind::Side, game.Slot.Side});
    Commands.push_back({TCommandKind::Elapsed, std::bit_cast<std::uint32_t>(game.Elapsed)});
    SeedAfterLast = RandSeed;
}

void TReplayRecorder::Record(TGameCommand command) {
    // A draw made between commands (the music's, switched from the menu, which pauses the
    // game) is kept before whatever comes next, a wait included.
    if (RandSeed != SeedAfterLast) {
        Commands.push_back({TCommandKind::Seed, RandSeed});
    }
    // A frame outside play moves nothing in the game; it is kept only as time, one wait for
    // the whole stretch.
    if (command.Kind == TCommandKind::Frame && GameState != gsPlaying) {
        if (Commands.back().Kind != TCommandKind::Wait) {
            Commands.push_back({TCommandKind::Wait, 0});
        }
        std::uint32_t& waited = Commands.back().Value;
        waited = command.Value > std::numeric_limits<std::uint32_t>::max() - waited
                     ? std::numeric_limits<std::uint32_t>::max()
                     : waited + command.Value;
        return;
    }
    Commands.push_back(command);
}

TReplay TReplayRecorder::Finish(const TReplayHeader& header) {
    Active = false;
    TReplay replay{header, Commands};
    replay.Header.Difficulty = StartDifficulty;
    return replay;
}
