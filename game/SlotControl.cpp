#include "game/Game.h"
#include "game/GameConstants.h"
#include "game/Sides.h"
#include "math/Math3D.h"
#include "settings/Options.h"

namespace {
constexpr float LeanOut = 0.082f;  // the slot leans this fraction of a ball's start point
constexpr float LeanSteps = 20;    // a twentieth of the remaining lean per frame
constexpr double SinkFactor = 5;   // a falling slot sinks five times as fast as a ball drops
constexpr double TurnPerMs = 0.01; // the fraction of the remaining turn eased per millisecond
} // namespace

void TGame::TurnSlot(std::uint16_t key) {
    const bool normal = Options->Difficulty == NormalDifficulty;
    for (std::uint8_t side = 0; side < SideCount; ++side) {
        if (SideKey(side) == key && (normal || SideUsedOnEasy(side))) {
            Slot.Side = side;
        }
    }
}

void TGame::AnimateSlot(float delta) {
    TVector& position = Slot.Obj.Position;
    TVector& rotation = Slot.Obj.Rotation;
    const double ease = TurnPerMs * delta;
    if (SlotState == ssFalling) {
        position.z = static_cast<float>(position.z - SinkFactor * delta * DropPerMs);
        rotation.z = static_cast<float>(rotation.z + ease);
    } else {
        // A fixed share per frame, whatever the frame's length.
        const TVector target = VectorScale(SidePosition(Slot.Side), LeanOut);
        position = VectorAdd(position, VectorDivide(VectorSubtract(target, position), LeanSteps));
        position.z = 0; // also lifts a fallen slot back up in the first frame after its fall
        if (rotation.x != 0) {
            rotation.x = static_cast<float>(rotation.x - ease * rotation.x);
        }
        if (rotation.y != 0) {
            rotation.y = static_cast<float>(rotation.y - ease * rotation.y);
        }
        rotation.z = static_cast<float>(rotation.z + ease * (SideAngle(Slot.Side) - rotation.z));
    }
    Slot.Obj.Matrix = ComposeObjectMatrix(Slot.Obj.Scale, Slot.Obj.Position, Slot.Obj.Rotation);
}
