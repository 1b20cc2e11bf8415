#include "game/Game.h"
#include "game/GameConstants.h"
#include "math/Math3D.h"

#include <algorithm>
#include <cmath>

float RampHeight(float distance, float height) {
    constexpr double TopHeight = 0.6;
    constexpr double BottomHeight = 0.15;
    constexpr double RampTop = 1.3;
    constexpr double RampBottom = 0.65;
    constexpr double RampSlope =
        0.6923076923; // (TopHeight - BottomHeight) / (RampTop - RampBottom)
    constexpr double FlatEnd = 0.5;
    if (distance >= RampTop) {
        return static_cast<float>(TopHeight);
    }
    if (distance >= RampBottom) {
        return static_cast<float>(TopHeight + (distance - RampTop) * RampSlope);
    }
    if (distance >= FlatEnd) {
        return static_cast<float>(BottomHeight);
    }
    return height;
}

void TGame::ComposeBall(TBall& ball) {
    ball.Obj.Matrix = ComposeObjectMatrix(ball.Obj.Scale, ball.Obj.Position, ball.Obj.Rotation);
}

void TGame::LiftBall(std::int32_t index, float heightChange) {
    TBall& ball = Balls[index];
    ball.Obj.Position.z += heightChange;
    ComposeBall(ball);
}

void TGame::RollBall(std::int32_t index, float distance) {
    TBall& ball = Balls[index];
    TVector& position = ball.Obj.Position;
    TVector& rotation = ball.Obj.Rotation;
    const float turn = static_cast<float>(distance / RollRadius);
    ball.Remaining -= distance;
    // The height follows the ramp at the distance before this step.
    const bool alongY = ball.Side == 0 || ball.Side == 2;
    position.z = RampHeight(std::fabs(alongY ? position.y : position.x), position.z);
    switch (ball.Side) {
    case 0:
        position = {0, position.y - distance, position.z};
        rotation.x += turn;
        break;
    case 1:
        position = {position.x + distance, 0, position.z};
        rotation.y += turn;
        break;
    case 2:
        position = {0, position.y + distance, position.z};
        rotation.x -= turn;
        break;
    default:
        position = {position.x - distance, 0, position.z};
        rotation.y -= turn;
        break;
    }
    ComposeBall(ball);
}

void TGame::RemoveBall(std::int32_t index) {
    if (index < 0 || index >= BallCount) {
        return;
    }
    // Whole records move, texture references included, so the balls stay in spawn order.
    std::move(Balls.begin() + index + 1, Balls.begin() + BallCount, Balls.begin() + index);
    --BallCount;
}
