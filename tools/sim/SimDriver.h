#pragma once
// The headless simulation driver: plays the game from text commands the way the main
// window would, without a window, device or sound, and reports on an output stream.
//
// Commands, one per line, in the language of game/GameCommand.h ("seed N", "newgame",
// "frame MS", "key VK", "press C", "dump", ...); a kept game's replay file is such a script.
// Every hook the game calls prints an event line as it happens; a malformed line prints an
// error line naming it, and the driver goes on.

#include "game/Game.h"
#include "game/GameCommand.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <string_view>

class TSimDriver final : public IGameOutlet {
public:
    // Sets up the game as it stands once loaded: GameState 1, SavedState 1, a fresh game,
    // Normal difficulty, seed 0. Takes over the globals and the options object.
    explicit TSimDriver(std::ostream& out);
    TSimDriver(const TSimDriver&) = delete;
    TSimDriver& operator=(const TSimDriver&) = delete;

    // Runs one command line; lineNumber names it in an error.
    void RunLine(std::string_view line, std::int32_t lineNumber);

    void ShowScore(std::int32_t score) override;
    void PlaySoundEffect(std::string_view name) override;
    void AddScore(std::int32_t score) override;

private:
    void RunCommand(TGameCommand command);
    void ReportError(std::int32_t lineNumber, std::string_view reason, std::string_view line);

    std::ostream& Out;
    std::unique_ptr<TGame> Game;
};
