#pragma once
// The kept games: one replay file per game in the replays folder ("Replays" beside the
// program, or $XDG_DATA_HOME/zorbix/replays), named "game-" and the time it was kept (UTC, to
// the millisecond) so that names sort by age. What is kept: the games behind the rows of the
// high-score table (a file whose score, date and name are a row's) and the last game played.
// Every other file of that form is removed whenever a game is kept; files of other names are
// the player's and are left alone.

#include "game/ReplayFile.h"
#include "settings/ScoreTable.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

// Larger files are refused: some eight hours of play.
constexpr std::size_t LargestReplayBytes = std::size_t{16} << 20;

struct TKeptGame {
    std::string Path;
    TReplayHeader Header;
    int Rank = 0; // the table row it belongs to, 1 to 5; 0 for none
};

struct TKeptGames {
    std::vector<TKeptGame> Ranked; // best first, at most one per row
    std::optional<TKeptGame> Last; // the newest file, whether it belongs to a row or not
};

class TReplayStore {
public:
    // `directory` ends in '/'.
    explicit TReplayStore(std::string directory);

    // Writes `replay` as the newest file (atomically; never through a link or into a special
    // file), then removes the files `table` no longer needs. On failure the replay is lost,
    // nothing else, and the error says why.
    std::error_code Keep(const TReplay& replay, const TScoreTable& table);
    // What the folder keeps for `table`; a missing or unreadable folder keeps nothing.
    TKeptGames List(const TScoreTable& table) const;

private:
    struct TFound {
        std::string Path;
        std::optional<TReplayHeader> Header; // none for a damaged file
    };
    // The files named as kept games, oldest first.
    std::vector<TFound> FindFiles() const;
    std::string NewFileName(const std::vector<TFound>& files) const;

    std::string Directory;
};

// Reads a replay file; throws EGameError with the reason when it cannot be read or is no
// replay (ReadReplay).
TReplay LoadReplayFile(const std::string& path);
