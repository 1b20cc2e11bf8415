#pragma once
// The tuning of play, shared by the tick, spawning and the slot's motion.

#include <cstdint>

constexpr std::uint8_t NormalDifficulty = 1; // any other value plays Easy
constexpr float StartSpeed = 0.0002f;        // also the floor of every slow-down
constexpr double SpawnDistance = 0.35;       // path between two balls: SpawnInterval * Speed
constexpr double DropPerMs = 0.003;          // a dropping ball falls this far per millisecond
constexpr float BallPath = 1.1f;             // from the outer end of a lane to the slot
constexpr double RollRadius = 0.2;           // a rolling ball turns as if it had this radius
constexpr double SpeedUpPerCatch = 0.000006;
constexpr double SlowDownPerFifty = 0.00024;
constexpr double SlowDownPerMiss = 0.000018;
constexpr std::int32_t ScorePerCatch = 10;
// The marked balls, by serial: every fiftieth slows the game down when caught, every
// hundredth gives a spare slot instead; each wears its own look.
constexpr std::int32_t SlowDownEvery = 50;
constexpr std::int32_t LifeEvery = 100;
constexpr std::int8_t LivesAtStart = 3;
constexpr float FallMs = 2000;    // the lost slot falls this long
constexpr float ReplaceMs = 1000; // and a spare flies in this long
