#pragma once
// One frame of play as the main loop runs it after each drawn frame: the time measured since
// the last frame becomes FrameDeltaMs (none passes while paused) and the game ticks only while
// playing. The main loop, the headless modes, the simulation driver, the benchmark and the
// tests all advance the game through here.

#include "game/Game.h"

#include <cstdint>

void PlayFrame(TGame& game, std::uint32_t elapsedMs);
