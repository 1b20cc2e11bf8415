#pragma once
// The whole state of one game: the player's slot, the balls on their way to it, the speed
// and timing, and the stage of a lost slot. One object lives from loading to the end of the
// program; NewGame resets it for every game and Tick advances it once per rendered frame.
// Score and Lives live in the options object (the global Options, which must exist before
// any call here); the game also writes GameState and SavedState.

#include "core/Types.h"
#include "game/GameOutlet.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

// Ball phases.
enum : std::uint8_t {
    bpDropping = 0,
    bpRolling = 1,
    bpCaught = 2,
    bpLeaving = 3,
};

// Slot states.
enum : std::uint8_t {
    ssInPlay = 0,
    ssFalling = 1,   // a ball was missed: the slot sinks and spins for 2000 ms
    ssReplacing = 2, // a spare flies in for 1000 ms, or the game is over
};

struct TSlot {
    std::uint8_t Side = 0; // what the catch test compares; the visible turn follows it
    TObjMatrix Obj;
};

struct TBall {
    std::uint8_t Side = 0;
    TObjMatrix Obj;
    float Remaining = 0; // path still to roll: 1.1 at spawn, arrival at 0 or less
    std::uint8_t Phase = bpDropping;
    std::int32_t Serial = 0; // 1 for the first ball of a game
    std::uint8_t Look = 0;   // which of BallTextures Obj.Texture holds
};

class TGame {
public:
    static constexpr std::int32_t MaxBalls = 10000;

    // Keeps the device for drawing (it may be empty: the simulation never uses it). The slot
    // faces side 0 at scale 1; everything else, the slot's matrix included, starts at zero.
    explicit TGame(TComRef<IDirect3DDevice8> device);
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    // Where scores, effects and the final score go; null keeps the game silent. The outlet
    // must outlive its use.
    void SetOutlet(IGameOutlet* outlet) { Outlet = outlet; }

    // Starts a game: score 0, three spares, start speed, no balls. Keeps the slot's side and
    // pose and Elapsed, so the slot turns on smoothly and time already counted goes towards
    // the first spawn.
    void NewGame();
    // One frame of play, called after rendering with FrameDeltaMs (as a float) only while
    // GameState is 2. Elapsed advances by FrameDeltaMs itself. Never re-entered.
    void Tick(float delta);
    // Turns the slot for an arrow key; other keys, and up and down on Easy, are ignored.
    // Called for every key-down while GameState is 2.
    void TurnSlot(std::uint16_t key);
    // Moves the slot's visible pose one frame towards its side (or lets it fall) and
    // recomposes its matrix. Tick calls it every frame.
    void AnimateSlot(float delta);

    // Appends a ball on a random lane with a random turn and look. Refused (false, nothing
    // drawn, no serial counted) when MaxBalls balls are live.
    bool SpawnBall();
    // The operations below take the index (0 to BallCount - 1) of a live ball.
    // Raises ball `index` by heightChange.
    void LiftBall(std::int32_t index, float heightChange);
    // Rolls ball `index` the distance towards the centre, down the ramp, turning it.
    void RollBall(std::int32_t index, float distance);
    // Removes ball `index`, moving the later balls down one place; other indices are ignored.
    void RemoveBall(std::int32_t index);

    TComRef<IDirect3DDevice8> Device;
    float Speed = 0;   // field units per millisecond
    float Elapsed = 0; // milliseconds since the last spawn, miss or change of SlotState
    TSlot Slot;
    float SpawnInterval = 0; // always 0.35 / Speed
    std::int32_t BallCount = 0;
    // Live balls are Balls[0] to Balls[BallCount - 1], oldest first.
    std::array<TBall, MaxBalls> Balls;
    std::int32_t BallSerial = 0; // balls spawned since NewGame, across lost slots
    std::uint8_t SlotState = ssInPlay;

private:
    // Advances one ball by its phase; false when it was removed and its index now holds the
    // next ball.
    bool AdvanceBall(std::int32_t index, float delta);
    void CatchBall(TBall& ball);
    void MissBall();
    void EndFall();
    void FlySpareIn();
    void EndReplacing(bool takeSpare);
    void ComposeBall(TBall& ball);
    void ShowScore();
    void PlaySound(std::string_view name);

    IGameOutlet* Outlet = nullptr;
};

// The game the window plays: made by the scene's loading on its device and dropped with the
// scene; the simulation driver and the tests make their own.
extern std::unique_ptr<TGame> Game;

// The side 0 to 3 of a new ball: one integer draw, all four sides on Normal, only 1 and 3
// on Easy (any Difficulty but 1).
std::uint8_t ChooseSide();
// The look of ball `serial`: one integer draw for looks 0 to 5, always made, overridden by
// 6 for multiples of 50 and 7 for multiples of 100.
std::uint8_t ChooseBallTexture(std::int32_t serial);
// The height of a ball `distance` out along its lane: flat at 0.6, down the ramp between
// 1.3 and 0.65, flat at 0.15; below 0.5 the height is left as it is.
float RampHeight(float distance, float height);
