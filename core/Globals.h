#pragma once
// The few globals the shell, the game, the renderer and the audio share.

#include <cstdint>

// 0 not yet loaded, 1 title picture, 2 playing, 3 game-over picture, 4 interlude, 5 paused.
enum : std::uint8_t {
    gsLoading = 0,
    gsTitle = 1,
    gsPlaying = 2,
    gsGameOver = 3,
    gsInterlude = 4,
    gsPaused = 5,
};

extern std::uint8_t GameState;
// The state to return to when a pause, the interlude or a modal dialog ends.
extern std::uint8_t SavedState;
// Milliseconds between the two latest frame timings; 0 on paused calls.
extern std::uint32_t FrameDeltaMs;
// Set once the main window closes; afterwards no music command is sent.
extern bool AppClosing;
