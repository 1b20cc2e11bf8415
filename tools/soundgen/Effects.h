#pragma once
// The game's sound effects as recipes for the synthesiser, before mastering. Each carries
// the name the game plays it by and how many copies of it may sound at once.

#include "tools/soundgen/Synth.h"

#include <cstdint>
#include <string>
#include <vector>

struct TEffect {
    std::string Name;
    std::int32_t MaxPlayingCount = 0; // 0: no limit
    TSound Sound;
};

// "kik0" to "kik7": eight kicks of the ball, each a thump, a click and a pitched ping on a
// different note of one pentatonic scale, so quick catches make a little tune.
std::vector<TEffect> KickEffects();
// "newgame", "life", "speed" and "gameover": the short musical cues.
std::vector<TEffect> CueEffects();
// "fall" and "newslot": the slot falling away and the spare flying in.
std::vector<TEffect> MotionEffects();
