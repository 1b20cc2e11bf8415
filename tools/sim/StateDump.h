#pragma once
// The driver's "dump": the game's state, the globals and the options on one JSON line.

#include "game/Game.h"

#include <ostream>

// Writes GameState, SavedState, Score, Lives, the game's timing, the slot and every live
// ball, oldest first, followed by a newline. Options must exist.
void WriteGameState(std::ostream& out, const TGame& game);
