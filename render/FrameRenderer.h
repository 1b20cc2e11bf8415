#pragma once
// Drawing one complete frame for the current GameState on Direct3DDevice: the title,
// game-over and interlude pictures, the game scene, and the paused scene under the pause
// banner. Reads the game, the options and GameState; changes only the drum's spin and the
// digits' matrices. Every device state a frame changes is restored within it, except the
// world transform, the material and the bound texture, which each draw sets for itself.
// Runs after loading has completed, once per main-loop call; allocates nothing.

#include "platform/interfaces/D3D8Types.h"

// Clears, draws and presents one frame. Success without touching the device in state 0;
// E_FAIL without a device; otherwise the first failing code of Clear, BeginScene, EndScene
// or Present, unchanged, or Present's own code.
HRESULT RenderFrame();

// The picture of state 1, 3 or 4 over the whole window.
void DrawStatePicture();
// The pause banner across the middle of the view.
void DrawPausePicture();
// The drum, the board, the balls and the slot, the score, the lane panels and the lives.
void DrawGameScene();
// The balls, lit by their own light, and the slot unless a spare is flying in.
void DrawBallsAndSlot();

// The clear colour: a light blue.
constexpr D3DCOLOR SceneClearColor = 0x005F97FF;
