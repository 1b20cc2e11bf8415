#pragma once
// The globals the shell, the game, the renderer and the audio share, each with the code that
// writes it; every other reader only reads. The objects each layer owns are declared with
// their layer: `Game` (game/Game.h, made and dropped by the scene's loading), `Options`
// (settings/Options.h, made at start-up), `ScoreTable` (settings/ScoreTable.h, made at
// start-up), the device and the scene's resources (render/Direct3D.h,
// render/SceneResources.h, written only by the device set-up and the loading), the sound
// components and the music tracks (audio/SoundEffects.h, audio/Music.h, written by the
// loading of the sounds), and the random seed (core/Random.h, written by Randomize, the
// headless modes and the driver).

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

// Written by the game's flow (game/GameFlow.h: the keys, the new-game and pause commands, and
// the title a replay starts and ends at), the script shortcuts of the game's commands
// (game/GameCommand.h), the main window's loading, the game's tick (game over, interlude), a
// modal dialog, the music's end-of-track pause and a replay's headless check (each for its
// duration, then put back), and the screenshot mode (the state it pictures).
extern std::uint8_t GameState;
// The state to return to when a pause, the interlude or a modal dialog ends. Written by the
// game's flow (pauses, the title), the game's tick (entering the interlude), a modal dialog,
// the main window's start and the screenshot mode.
extern std::uint8_t SavedState;
// Milliseconds between the two latest frame timings; 0 on paused calls. Written by
// PlayFrame, the headless modes' set-up, a replay's headless check (then put back), and the
// music's end-of-track pause (which zeroes it so the pause is not played).
extern std::uint32_t FrameDeltaMs;
// Set once the main window closes; afterwards no music command is sent. Written only by the
// main window.
extern bool AppClosing;
