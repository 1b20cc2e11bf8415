#include "game/ReplayPlayer.h"

#include <algorithm>

namespace {
constexpr std::uint32_t LongestWaitShownMs = 3000;
constexpr std::uint32_t EndShownMs = 2500;
} // namespace

void TReplayPlayer::Start(std::vector<TGameCommand> commands) {
    Commands = std::move(commands);
    Next = 0;
    Budget = 0;
    Active = true;
}

bool TReplayPlayer::Advance(TGame& game, std::uint32_t elapsedMs) {
    if (!Active) {
        return false;
    }
    Budget += elapsedMs;
    for (; Next < Commands.size(); ++Next) {
        const TGameCommand command = Commands[Next];
        const bool takesTime =
            command.Kind == TCommandKind::Frame || command.Kind == TCommandKind::Wait;
        if (takesTime) {
            const std::uint32_t shown = command.Kind == TCommandKind::Wait
                                            ? std::min(command.Value, LongestWaitShownMs)
                                            : command.Value;
            if (Budget < shown) {
                return true;
            }
            Budget -= shown;
        }
        ApplyGameCommand(game, command);
    }
    if (Budget < EndShownMs) {
        return true;
    }
    Active = false;
    return false;
}
