#pragma once
// The game's flow between its states, one copy for every driver of the game (the main window,
// the simulation driver, the scripted player, the headless modes): what a key pressed, a key
// held down, a new game and a pause do in each state. The window's handlers forward here.

#include "game/Game.h"

#include <cstdint>
#include <functional>

// A key that produced a character: at the title it starts a game; in play Escape pauses; it
// leaves the game-over picture for the title; it leaves the interlude, Space first opening
// the home page (openHomePage, called before the state changes); it resumes a pause.
void FlowKeyPress(TGame& game, char key, const std::function<void()>& openHomePage);
// A key down: only in play, where an arrow key turns the slot.
void FlowKeyDown(TGame& game, std::uint16_t key);
// The new-game command: back to the title with a fresh game; nothing while loading.
void FlowNewGame(TGame& game);
// The pause command: pauses any state but loading, or resumes; a pause begun in play or in
// the interlude resumes in play, any other returns where it began.
void FlowPauseResume();
// Where a replay starts and ends: the title, with nothing to go back to.
void FlowToTitle();
// What the interlude's own key does when no player is at the keyboard: play goes on.
void FlowLeaveInterlude();
