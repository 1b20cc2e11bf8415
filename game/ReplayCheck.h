#pragma once
// Re-plays a replay's commands headless, as fast as the machine goes, on a game of its own:
// what a replay comes to, to hold against the score it records. The shared state the game
// uses (the states, the frame time, the generator, the options' game values) is put back
// afterwards, so the window's game can be checked for while it runs.

#include "game/GameCommand.h"

#include <cstdint>
#include <optional>
#include <span>

struct TReplayOutcome {
    std::int32_t Score = 0;                   // the score when the commands ran out
    std::optional<std::int32_t> OfferedScore; // the final score offered at game over, if any
};

TReplayOutcome ReplayHeadless(std::span<const TGameCommand> commands);
