#pragma once
// The five best scores, best first, with their players' names and dates, kept in the 320-byte
// file "HiScores.dat" (the five entries of ScoreEntry.h in rank order, nothing else).

#include "settings/ScoreEntry.h"

#include <array>
#include <cstdint>
#include <memory>
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
    // Replaces the file with the table's 320 bytes; the file holds the old table or the new
    // one, never a mix. Throws EGameError when it cannot, leaving the file as it was.
    void SaveTable() const;
    // Fills the dialog's rows from the table.
    void ShowTable();

    // Offers a final score. One above the lowest enters below every score it does not beat,
    // the rest move down and the last drops out; the new entry keeps the name of the place
    // it took until the player names it in the dialog, which opens modally with the game
    // paused (GameState 5) and the state restored afterwards. Called from inside the game's
    // tick.
    void AddScore(std::int32_t score);

    // The dialog's OK: names the entry at `rank` 1..5 with the first 50 characters of `name`
    // (8-bit characters). Writes nothing; the caller saves.
    void StoreName(int rank, std::string_view name);
    // The dialog's confirmed Clear: the default table, dated now, shown and saved.
    void ClearTable();

    const TScoreEntry& Entry(int rank) const {
        return Entries.at(static_cast<std::size_t>(rank - 1));
    }
    const std::string& FileName() const { return TableFileName; }

    static std::string DefaultFileName();

private:
    using TTableBytes = std::array<std::byte, ScoreTableSize>;

    TTableBytes Encode() const;
    void Decode(const TTableBytes& bytes);
    // Places the name box over the name label of `rank`.
    void PlaceNameEditor(int rank);

    std::array<TScoreEntry, ScoreRankCount> Entries;
    std::string TableFileName;
    IHighScoreDialog* Dialog = nullptr;
};

// The one table, created with the high-score dialog at start-up.
extern std::unique_ptr<TScoreTable> ScoreTable;
