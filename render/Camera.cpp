#include "render/Camera.h"

#include "core/Globals.h"
#include "game/Game.h"
#include "game/GameConstants.h"
#include "math/Math3D.h"
#include "render/Direct3D.h"
#include "render/SceneResources.h"
#include "settings/Options.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr float FieldOfView = 1;
constexpr float NearPlane = 0.01f;
constexpr float FarPlane = 200;
} // namespace

TCamera FrameCamera(const TCameraInputs& inputs) {
    const bool playing = inputs.GameState == gsPlaying;
    const std::uint8_t view = std::min(inputs.View, LastView);
    TCamera camera{inputs.ViewEye[playing ? view : 0], {0, 0, 0}, {0, 0, 1}};
    if (!playing || inputs.SlotState != ssFalling) {
        return camera;
    }
    // The shake grows with the fourth power of the fall's progress: unnoticed at first,
    // strongest as the slot disappears.
    const double t = inputs.Elapsed / FallMs;
    const double strength = t * t * t * t;
    if (view == 0) {
        camera.Eye.z += static_cast<float>(0.08 * strength * std::sin(60 * std::numbers::pi * t));
    } else {
        camera.At = {
            static_cast<float>(0.01 * strength * (std::cos(6 * std::numbers::pi * t) - 0.5)),
            static_cast<float>(0.01 * strength * (std::sin(60 * std::numbers::pi * t) - 0.5)),
            static_cast<float>(0.01 * strength * 5 * std::sin(60 * std::numbers::pi * t - 0.5))};
    }
    return camera;
}

void SetupCamera() {
    TCameraInputs inputs;
    inputs.GameState = GameState;
    inputs.View = Options->View;
    inputs.ViewEye = Options->ViewEye;
    if (Game) {
        inputs.SlotState = Game->SlotState;
        inputs.Elapsed = Game->Elapsed;
    }
    const TCamera camera = FrameCamera(inputs);
    // With these constants the view can always be built; the result is not examined.
    TMatrix view = IdentityMatrix;
    BuildViewMatrix(camera.Eye, camera.At, camera.Up, view);
    TMatrix projection = IdentityMatrix;
    BuildProjectionMatrix(FieldOfView, 1, NearPlane, FarPlane, projection);
    Direct3DDevice->SetTransform(D3DTS_VIEW, &view);
    Direct3DDevice->SetTransform(D3DTS_PROJECTION, &projection);
    Direct3DDevice->SetTransform(D3DTS_WORLD, &IdentityMatrix);
}
