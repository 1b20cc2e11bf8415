// Any bytes as a kept game's file: the reader refuses them with a reason or reads a replay
// that writes back to text reading the same; a replay read is re-played headless, twice, to
// the same end, and the re-play leaves the shared state as it found it.

#include "core/GameError.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "game/ReplayCheck.h"
#include "game/ReplayFile.h"
#include "settings/Options.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace {
bool SameHeader(const TReplayHeader& one, const TReplayHeader& other) {
    return one.Score == other.Score && one.Difficulty == other.Difficulty &&
           std::memcmp(&one.Date, &other.Date, sizeof one.Date) == 0 && one.Name == other.Name;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!Options) {
        Options = std::make_unique<TOptions>();
    }
    TReplay replay;
    try {
        replay = ReadReplay(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EGameError&) {
        return 0;
    }
    const TReplay again = ReadReplay(ReplayText(replay));
    if (!SameHeader(again.Header, replay.Header) || again.Commands != replay.Commands) {
        __builtin_trap();
    }
    const std::uint32_t seed = RandSeed;
    const std::uint8_t state = GameState;
    const TReplayOutcome first = ReplayHeadless(replay.Commands);
    const TReplayOutcome second = ReplayHeadless(replay.Commands);
    if (first.Score != second.Score || first.OfferedScore != second.OfferedScore ||
        RandSeed != seed || GameState != state) {
        __builtin_trap();
    }
    return 0;
}
