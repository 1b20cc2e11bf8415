#include "core/Random.h"
#include "game/Game.h"
#include "game/GameConstants.h"
#include "game/GameResources.h"
#include "game/Sides.h"
#include "settings/Options.h"

#include <array>
#include <numbers>

namespace {
constexpr std::array<std::uint8_t, 4> NormalSides{0, 3, 2, 1};
constexpr std::array<std::uint8_t, 2> EasySides{3, 1};
constexpr std::uint32_t OrdinaryLookCount = 6;
constexpr std::uint8_t FiftiethLook = 6;
constexpr std::uint8_t HundredthLook = 7;
} // namespace

std::uint8_t ChooseSide() {
    if (Options->Difficulty == NormalDifficulty) {
        return NormalSides[RandomInt(NormalSides.size())];
    }
    return EasySides[RandomInt(EasySides.size())];
}

std::uint8_t ChooseBallTexture(std::int32_t serial) {
    // Always drawn, so the marked balls do not shift the sequence of later balls.
    auto look = static_cast<std::uint8_t>(RandomInt(OrdinaryLookCount));
    if (serial % SlowDownEvery == 0) {
        look = FiftiethLook;
    }
    if (serial % LifeEvery == 0) {
        look = HundredthLook;
    }
    return look;
}

bool TGame::SpawnBall() {
    if (BallCount >= MaxBalls) {
        return false;
    }
    TBall& ball = Balls[BallCount];
    ++BallCount;
    ++BallSerial;
    ball.Serial = BallSerial;
    // Four draws in this order: side, two turns, look.
    ball.Side = ChooseSide();
    ball.Obj.Position = SidePosition(ball.Side);
    ball.Obj.Scale = {1, 1, 1};
    const double turnY = RandomReal();
    const double turnZ = RandomReal();
    ball.Obj.Rotation = {0, static_cast<float>(std::numbers::pi * turnY),
                         static_cast<float>(std::numbers::pi * turnZ)};
    ball.Remaining = BallPath;
    ball.Phase = bpDropping;
    ball.Look = ChooseBallTexture(ball.Serial);
    ball.Obj.Texture = BallTextures[ball.Look];
    ComposeBall(ball);
    return true;
}
