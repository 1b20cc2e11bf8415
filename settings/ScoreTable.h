#pragma once
// The five best scores, best first, with their players' names and dates, kept in the 320-byte
// file "HiScores.dat" (the five entries of ScoreEntry.h in rank order, nothing else).

#include "settings/ScoreEntry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class IHighScoreDialog;

constexpr int ScoreRankCount = 5;
constexpr std::size_t ScoreTableSize = ScoreRankCount * ScoreEntrySize;

class TScoreTable {
public:
    // The default table: sixteen full stops for every name, scores 5 down to 1, dated now.
    // `fileName` is the file LoadTable and SaveTable use; by default "HiScores.dat" in the
    // program's directory. Reads no file.
    explicit TScoreTable(std::string fileName = DefaultFileName());

    // The dialog the table fills and opens; null (the start) shows nothing, and AddScore
    // then enters a score without asking for a name. The dialog must outlive the table or be
    // detached first.
    void AttachDialog(IHighScoreDialog* dialog);

    // Reads the file over the table, block by block of 320 bytes from the table's first
    // byte: a shorter file replaces only the bytes it has, a longer one each block in turn.
    // No file: nothing changes. Throws EGameError when the file cannot be read, leaving the
    // table as it was.
    void LoadTable();
    // Writes the table to the file, the old contents or the new ones, never a mix. Another
    // game may have saved its own scores since this one read the file, so under a lock on the
    // file the table on disk is read again and the entries this game has added are entered
    // into it by the rank rule of AddScore (one already there is only renamed); that merged
    // table is written and becomes this table. Only a regular file or a missing one is
    // written. Throws EGameError when it cannot, leaving the file and the table as they were.
    void SaveTable();
    // Fills the dialog's rows from the table.
    void ShowTable();

    // Offers a final score. One above the lowest enters below every score it does not beat,
    // the rest move down and the last drops out; the new entry keeps the name of the place
    // it took until the player names it in the dialog, which opens modally with the game
    // paused (GameState 5) and the state restored afterwards. Called from inside the game's
    // tick. Returns the date the new entry was given, which with the score finds its row
    // again once the dialog has closed; nothing for a score that enters no row.
    std::optional<double> AddScore(std::int32_t score);

    // The dialog's OK: names the entry at `rank` 1..5 with the first 50 characters of `name`
    // (8-bit characters). Writes nothing; the caller saves.
    void StoreName(int rank, std::string_view name);
    // The dialog's confirmed Clear: the default table, dated now, shown and saved as it is,
    // over whatever the file holds.
    void ClearTable();

    const TScoreEntry& Entry(int rank) const {
        return Entries.at(static_cast<std::size_t>(rank - 1));
    }
    // The rank of the row entered with this score at this date (AddScore's answer), 0 for none.
    int RankOf(std::int32_t score, double date) const;
    const std::string& FileName() const { return TableFileName; }

    static std::string DefaultFileName();

private:
    using TTableBytes = std::array<std::byte, ScoreTableSize>;
    using TEntries = std::array<TScoreEntry, ScoreRankCount>;
    using TAddedFlags = std::array<bool, ScoreRankCount>;

    static TTableBytes Encode(const TEntries& entries);
    static TEntries Decode(const TTableBytes& bytes);
    // Replaces the file under its lock; `merge` (or none) turns the table on disk into the
    // table to write.
    void WriteLocked(bool merge);
    // Places the name box over the name label of `rank`.
    void PlaceNameEditor(int rank);

    TEntries Entries;
    // Which rows hold a score this game entered (AddScore) or a name it gave (StoreName), to
    // be merged into the file.
    TAddedFlags AddedHere{};
    std::string TableFileName;
    IHighScoreDialog* Dialog = nullptr;
};

// The table `disk` with every row of `ours` flagged in `added` entered by the rank rule (a
// tie goes below), best rank first; a row already on disk (same score and date) only takes
// the name of ours. `added` becomes the flags of the merged table.
std::array<TScoreEntry, ScoreRankCount>
MergeScoreTables(const std::array<TScoreEntry, ScoreRankCount>& disk,
                 const std::array<TScoreEntry, ScoreRankCount>& ours,
                 std::array<bool, ScoreRankCount>& added);

// The one table, created with the high-score dialog at start-up.
extern std::unique_ptr<TScoreTable> ScoreTable;
