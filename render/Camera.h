#pragma once
// The camera of a frame: the chosen view while playing, the Top view in every other state,
// and the shake while a lost slot falls.

#include "core/Types.h"

#include <cstdint>

class TOptions;

struct TCamera {
    TVector Eye;
    TVector At;
    TVector Up;
};

// What the camera depends on: the state, the chosen view and its eye positions, and the
// game's slot state with the time spent in it (the fall lasts 2000 ms).
struct TCameraInputs {
    std::uint8_t GameState = 0;
    std::uint8_t View = 0;
    const TVector* ViewEye = nullptr; // four eye positions, one per view
    std::uint8_t SlotState = 0;
    float Elapsed = 0;
};

// The eye, the point looked at and the up direction for these inputs. A view outside 0 to 3
// is taken as the Top view.
TCamera FrameCamera(const TCameraInputs& inputs);

// Sets the view and projection transforms for the current GameState, Options and Game on
// Direct3DDevice, and the identity world transform. Called after BeginScene.
void SetupCamera();
