#pragma once
// The game's command language: one command per line, as the simulation driver reads it and
// as replays are kept. Each command is one thing that reaches the game from outside (a frame's
// time, a key, a menu command, a draw made elsewhere from the shared generator), so a list of
// them re-plays a game exactly.
//
//   seed N        the generator's state becomes N (a game's start, or a draw made outside it)
//   difficulty D  0 Easy, 1 Normal
//   view V        the camera, 0 to 3
//   side S        the slot faces side S, 0 to 3 (what a game starts with: the last game's)
//   elapsed MS    the game's clock towards the next ball (what a game starts with), a real
//                 number written exactly
//   frame MS      one frame of the main loop, MS milliseconds after the last
//   wait MS       time the main loop spent outside play (a picture, a pause), which moves
//                 nothing in the game; watching a replay shows it
//   key VK        a key down (virtual-key code)
//   press C       a key press (character code)
//   menunew       the New Game command (F2)
//   menupause     the Pause/Resume command (F3)
//   dialog        a modal dialog opened and closed (the game paused meanwhile)
//   newgame       a fresh game in play from any state (a script's shortcut)
//   resume        back to the state a pause or the interlude saved (a script's shortcut)
//   dump          the game's whole state (only the simulation driver answers it)
// Blank lines and lines starting with '#' are no commands.

#include "game/Game.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

enum class TCommandKind : std::uint8_t {
    Seed,
    Difficulty,
    View,
    Side,
    Elapsed,
    Frame,
    Wait,
    Key,
    Press,
    MenuNew,
    MenuPause,
    Dialog,
    NewGame,
    Resume,
    Dump,
};

struct TGameCommand {
    TCommandKind Kind = TCommandKind::Frame;
    std::uint32_t Value = 0; // for `elapsed`, the bits of the float

    bool operator==(const TGameCommand&) const = default;
};

// What a line holds: nothing (blank or a comment), a command, or the reason it is not one.
struct TParsedLine {
    enum class TResult : std::uint8_t { Nothing, Command, Error };
    TResult Result = TResult::Nothing;
    TGameCommand Command;
    std::string_view Reason; // for an error: what was expected
};

TParsedLine ParseGameCommand(std::string_view line);

// Appends the command's line, newline included.
void AppendGameCommand(std::string& text, TGameCommand command);

// Does what the command does to the game and the globals, as the window would; `dump` does
// nothing here. Space on the interlude calls `openHomePage` first, where there is one.
void ApplyGameCommand(TGame& game, TGameCommand command,
                      const std::function<void()>& openHomePage = {});
