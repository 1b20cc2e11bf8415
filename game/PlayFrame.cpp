#include "game/PlayFrame.h"

#include "core/Globals.h"

void PlayFrame(TGame& game, std::uint32_t elapsedMs) {
    FrameDeltaMs = GameState == gsPaused ? 0 : elapsedMs;
    if (GameState == gsPlaying) {
        game.Tick(static_cast<float>(FrameDeltaMs));
    }
}
