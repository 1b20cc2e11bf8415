#pragma once
// The game's one way out: everything the simulation asks of the rest of the program. The
// shell connects the score digits, the sound effects and the high-score table here; tests
// and the simulation driver put recorders here.

#include <cstdint>
#include <string_view>

class IGameOutlet {
public:
    // Shows the score on the score digits. Called at a new game and every frame for every
    // rolling ball, so it must be cheap.
    virtual void ShowScore(std::int32_t score) = 0;
    // Plays the named effect. The name lives only for the duration of the call.
    virtual void PlaySoundEffect(std::string_view name) = 0;
    // Offers the final score to the high-score table. Called from inside Tick; it may run a
    // modal dialog that sets GameState to 5 and back, and the caller never ticks in state 5.
    virtual void AddScore(std::int32_t score) = 0;

protected:
    ~IGameOutlet() = default;
};
