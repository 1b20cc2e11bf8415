#pragma once
// The one process-wide random generator, shared by ball spawning and the choice of music:
// a 32-bit linear congruential generator. Tests and the simulation driver set the seed to
// replay a game exactly.

#include <cstdint>

// Written by Randomize at start-up, by every draw, and by the headless modes and the driver.
extern std::uint32_t RandSeed;

// Seeds from the clock, so every run deals different balls.
void Randomize();
// An integer in [0, range).
std::uint32_t RandomInt(std::uint32_t range);
// A real number in [0, 1).
double RandomReal();
