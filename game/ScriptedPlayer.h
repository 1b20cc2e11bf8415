#pragma once
// A player at the keyboard, scripted: what the headless modes and the tests put in front of a
// game. Called before each frame of play.

#include "game/Game.h"

enum class TPlayer {
    Perfect, // turns the slot to the side of the oldest rolling ball
    Losing,  // never turns
    Missing, // turns the slot to the side opposite the oldest rolling ball
};

// Goes on from the interlude picture as a key press would, then steers the slot.
void MakeMove(TGame& game, TPlayer player);
