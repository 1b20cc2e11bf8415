#pragma once
// Keeps the game the window plays as commands, for its replay: everything that reaches the
// game goes through Apply, which records it while a game is on and then does it. A game is
// recorded from the key press that starts it at the title until the window finishes it (game
// over, a new game, the end of the program). Draws from the shared generator made outside the
// game (the music's) are caught as the generator's new state before the next command.
// Storage is reserved up front for hours of play, so recording allocates nothing per frame.

#include "game/GameCommand.h"
#include "game/ReplayFile.h"

#include <cstdint>
#include <vector>

class TReplayRecorder {
public:
    TReplayRecorder();

    // Records `command` when it belongs to the game being recorded, or starts a recording when
    // it starts a game, then applies it (ApplyGameCommand).
    void Apply(TGame& game, TGameCommand command, const std::function<void()>& openHomePage = {});
    // Records a command the window has carried out itself (a dialog it showed, a setting its
    // menu changed).
    void Note(TGameCommand command);
    bool Recording() const { return Active; }
    // Ends the recording: the replay of the game so far, under `header` with the difficulty
    // the game started with.
    TReplay Finish(const TReplayHeader& header);
    // Ends the recording, keeping nothing.
    void Drop() { Active = false; }

private:
    void Begin(const TGame& game);
    void Record(TGameCommand command);

    std::vector<TGameCommand> Commands;
    bool Active = false;
    std::uint32_t SeedAfterLast = 0;
    std::uint8_t StartDifficulty = 0;
};
