#pragma once
// A kept game as text: a first line naming the format and its version, comment lines with
// what the game came to, then the game's commands in the command language of GameCommand.h,
// so the simulation driver re-plays the file as it stands:
//   # zorbix replay 1
//   # score 1230
//   # difficulty 1 (normal)
//   # date 46366.1752314815 (2026-12-10 04:12:33)
//   # name Ann
//   seed 2024
//   ...
// The date is the high-score table's own number, so a replay is matched to its row exactly;
// the name is the row's stored bytes, those outside printable ASCII (and the backslash)
// written as \xHH.

#include "game/GameCommand.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr int ReplayFormatVersion = 1;

struct TReplayHeader {
    std::int32_t Score = 0;
    std::uint8_t Difficulty = 1;
    double Date = 0;
    std::string Name; // the table's bytes, empty for a game that entered no row
};

struct TReplay {
    TReplayHeader Header;
    std::vector<TGameCommand> Commands;
};

std::string ReplayText(const TReplay& replay);

// Reads a whole replay. Throws EGameError saying what is wrong (not a replay, a newer format,
// a header line missing or damaged, the first command line that is not a command).
TReplay ReadReplay(std::string_view text);
// Reads only the header, as ReadReplay would, without the commands.
TReplayHeader ReadReplayHeader(std::string_view text);
