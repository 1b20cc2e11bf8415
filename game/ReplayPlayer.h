#pragma once
// Plays a replay's commands into the window's game at the speed they were recorded: each
// frame's time is spent from the real time that has passed, and the commands between frames
// follow at once. Time spent outside play is shown for a few seconds at most, and the end of
// the game stays on the screen for a moment before the replay counts as finished.

#include "game/GameCommand.h"

#include <cstdint>
#include <vector>

class TReplayPlayer {
public:
    void Start(std::vector<TGameCommand> commands);
    void Stop() { Active = false; }
    bool Playing() const { return Active; }
    // Plays what is due after `elapsedMs` more milliseconds. False once the replay has ended
    // (it then stops); the caller returns to the title.
    bool Advance(TGame& game, std::uint32_t elapsedMs);

private:
    std::vector<TGameCommand> Commands;
    std::size_t Next = 0;
    std::uint64_t Budget = 0; // real milliseconds not yet spent on recorded time
    bool Active = false;
};
