#include "game/Game.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "game/EffectNames.h"
#include "game/GameConstants.h"
#include "game/GameResources.h"
#include "game/Sides.h"
#include "math/Math3D.h"
#include "settings/Options.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>

namespace {
constexpr double DroppedHeight = 0.6; // a dropping ball starts to roll at this height
constexpr double GoneHeight = 10;     // a leaving ball is removed above this height
constexpr float LeaveFactor = 3;      // a leaving ball rises three times as fast as it fell
constexpr double Pi = std::numbers::pi;

float SlowedSpeed(float speed, double slowDown) {
    return std::max(static_cast<float>(speed - slowDown), StartSpeed);
}
} // namespace

std::unique_ptr<TGame> Game;

TGame::TGame(TComRef<IDirect3DDevice8> device) : Device(std::move(device)) {
    Slot.Obj.Scale = {1, 1, 1};
}

void TGame::NewGame() {
    Options->Score = 0;
    Options->Lives = LivesAtStart;
    ShowScore();
    Speed = StartSpeed;
    SpawnInterval = static_cast<float>(SpawnDistance / Speed);
    BallCount = 0;
    BallSerial = 0;
    for (std::int32_t n = 1; n <= MaxLives; ++n) {
        BuildLifeMatrix(n);
    }
    InitGameMaterials();
    SlotState = ssInPlay;
    PlaySound(NewGameEffect);
}

void TGame::Tick(float delta) {
    // BallCount is read afresh at every step: catches, misses and removals change it.
    for (std::int32_t index = 0; index < BallCount;) {
        if (AdvanceBall(index, delta)) {
            ++index;
        }
    }
    if (SlotState == ssFalling) {
        // Everything in flight leaves while the slot is lost, marked balls included.
        for (std::int32_t index = 0; index < BallCount; ++index) {
            Balls[index].Phase = bpLeaving;
        }
        if (Elapsed >= FallMs) {
            EndFall();
        }
    }
    if (GameState == gsPlaying && SlotState == ssReplacing) {
        FlySpareIn();
    }
    AnimateSlot(delta);
    // At most one spawn per frame; time beyond the interval is dropped.
    if (GameState == gsPlaying && SlotState == ssInPlay && Elapsed >= SpawnInterval) {
        SpawnBall();
        Elapsed = 0;
    }
    Elapsed = static_cast<float>(static_cast<double>(Elapsed) + FrameDeltaMs);
}

bool TGame::AdvanceBall(std::int32_t index, float delta) {
    TBall& ball = Balls[index];
    // A catch earlier in this frame already changed Speed for the balls after it.
    const float roll = static_cast<float>(static_cast<double>(delta) * Speed);
    const float drop = static_cast<float>(delta * DropPerMs);
    switch (ball.Phase) {
    case bpDropping:
        LiftBall(index, -drop);
        // Not the absolute height: a long frame can carry a ball far below the lane, and it
        // must still land on it instead of falling for ever.
        if (ball.Obj.Position.z <= DroppedHeight) {
            ball.Phase = bpRolling;
        }
        return true;
    case bpRolling:
        RollBall(index, roll);
        // Tested once: a caught ball leaves phase 1, a missed one is swept up after the loop.
        if (ball.Remaining <= 0) {
            if (ball.Side == Slot.Side) {
                CatchBall(ball);
            } else {
                MissBall();
            }
        }
        ShowScore();
        return true;
    case bpCaught: {
        const TSideTilt tilt = SideTilt(Slot.Side);
        Slot.Obj.Rotation.x = tilt.x;
        Slot.Obj.Rotation.y = tilt.y;
        Slot.Obj.Matrix = ComposeObjectMatrix(Slot.Obj.Scale, Slot.Obj.Position, Slot.Obj.Rotation);
        ball.Phase = bpLeaving;
        return true;
    }
    case bpLeaving:
        LiftBall(index, LeaveFactor * drop);
        if (std::fabs(ball.Obj.Position.z) > GoneHeight) {
            RemoveBall(index);
            return false;
        }
        return true;
    default:
        RemoveBall(index);
        return false;
    }
}

void TGame::CatchBall(TBall& ball) {
    Options->Score += ScorePerCatch;
    Speed = static_cast<float>(Speed + SpeedUpPerCatch);
    // Bonuses go by serial: a marked ball that is missed gives nothing.
    const bool givesLife = ball.Serial % LifeEvery == 0;
    if (givesLife) {
        ++Options->Lives;
        PlaySound(LifeEffect);
    }
    if (ball.Serial % SlowDownEvery == 0) {
        Speed = SlowedSpeed(Speed, SlowDownPerFifty);
        if (!givesLife) {
            PlaySound(SpeedEffect);
        }
    }
    Options->Lives = std::min(Options->Lives, MaxLives);
    // The last icon may have been used for a fly-in: put it back into its row.
    BuildLifeMatrix(Options->Lives);
    SpawnInterval = static_cast<float>(SpawnDistance / Speed);
    ball.Phase = bpCaught;

    PlaySound(KickEffectNames[RandomInt(static_cast<std::uint32_t>(KickEffectNames.size()))]);
}

void TGame::MissBall() {
    SlotState = ssFalling;
    PlaySound(FallEffect);
    // SpawnInterval keeps its value until the next catch.
    Speed = SlowedSpeed(Speed, SlowDownPerMiss);
    Elapsed = 0;
}

void TGame::EndFall() {
    Elapsed = 0;
    SlotState = ssReplacing;
    if (Options->Lives <= 0) {
        GameState = gsGameOver;
        PlaySound(GameOverEffect);
        if (Outlet != nullptr) {
            Outlet->AddScore(Options->Score);
        }
    } else {
        PlaySound(NewSlotEffect);
    }
}

void TGame::FlySpareIn() {
    const std::int32_t spare = Options->Lives;
    if (spare < 1) {
        // Only reachable when play resumes on a finished game: there is no icon to fly and
        // no spare to take, so the stage ends at once.
        EndReplacing(false);
        return;
    }
    const float t = Elapsed / ReplaceMs;
    const TVector rest = LifeIconPosition(spare);
    const float scale = static_cast<float>(0.5 + 0.5 * t);
    TVector position = rest;
    float turn = 0;
    if (t <= 0.2) { // lift off
        position.z = static_cast<float>(rest.z + 2 * t);
        turn = static_cast<float>(Pi);
    } else if (t <= 0.3) { // a tenth of a turn in place
        position.z = static_cast<float>(rest.z + 0.4);
        turn = static_cast<float>((t + 0.8) * Pi);
    } else { // glide to the centre, reached at t = 1
        position =
            VectorScale(MakeVector(rest.x, rest.y, static_cast<float>(0.4 * (1 - t * t) / 0.91)),
                        static_cast<float>((1 - t) / 0.7));
        turn = static_cast<float>(1.1 * Pi);
    }
    SetLifeMatrix(spare, ComposeObjectMatrix({scale, scale, scale}, position, {0, 0, turn}));
    if (Elapsed >= ReplaceMs) {
        EndReplacing(true);
    }
}

void TGame::EndReplacing(bool takeSpare) {
    BallCount = 0;
    SpawnBall(); // the next ball is already on its way when play resumes
    if (takeSpare) {
        --Options->Lives;
    }
    Slot.Side = 0;
    SavedState = GameState;
    GameState = gsInterlude;
    Elapsed = 0;
    SlotState = ssInPlay;
}

void TGame::ShowScore() {
    if (Outlet != nullptr) {
        Outlet->ShowScore(Options->Score);
    }
}

void TGame::PlaySound(std::string_view name) {
    if (Outlet != nullptr) {
        Outlet->PlaySoundEffect(name);
    }
}
