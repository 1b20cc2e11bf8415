#include "settings/ScoreTable.h"

#include "core/Globals.h"
#include "platform/files/GameFilePlaces.h"
#include "settings/DateTime.h"
#include "settings/HighScoreDialog.h"
#include "settings/ModalDialogPause.h"

#include <algorithm>
#include <stdexcept>

std::unique_ptr<TScoreTable> ScoreTable;

namespace {

constexpr std::string_view DefaultName = "................";
constexpr int NameEditorRaise = 6; // the box stands this much above the label it covers

std::array<TScoreEntry, ScoreRankCount> DefaultEntries() {
    std::array<TScoreEntry, ScoreRankCount> entries;
    const double now = LocalDateTimeNow();
    for (int index = 0; index < ScoreRankCount; ++index) {
        TScoreEntry& entry = entries[static_cast<std::size_t>(index)];
        entry.SetName(DefaultName);
        entry.Score = ScoreRankCount - index;
        entry.Date = now;
    }
    return entries;
}

// Leaves the dialog without a rank to enter and with an empty name box however it closes.
class TNameEntryReset {
public:
    explicit TNameEntryReset(IHighScoreDialog& dialog) : Dialog(dialog) {}
    ~TNameEntryReset() {
        Dialog.SetTag(0);
        Dialog.ClearNameEditor();
    }
    TNameEntryReset(const TNameEntryReset&) = delete;
    TNameEntryReset& operator=(const TNameEntryReset&) = delete;

private:
    IHighScoreDialog& Dialog;
};

} // namespace

TScoreTable::TScoreTable(std::string fileName)
    : Entries(DefaultEntries()), TableFileName(std::move(fileName)) {}

std::string TScoreTable::DefaultFileName() {
    return GameFilePlaces().HighScoresFile;
}

void TScoreTable::AttachDialog(IHighScoreDialog* dialog) {
    Dialog = dialog;
}

void TScoreTable::ShowTable() {
    if (Dialog == nullptr) {
        return;
    }
    for (int rank = 1; rank <= ScoreRankCount; ++rank) {
        const TScoreEntry& entry = Entry(rank);
        Dialog->ShowRow(rank, entry.Name(), std::to_string(entry.Score));
    }
}

std::optional<double> TScoreTable::AddScore(std::int32_t score) {
    if (score <= Entries.back().Score) {
        return std::nullopt;
    }
    // A tie goes below the score it ties with: the older entry keeps its place. A table read
    // from a file may be out of order; the last row's lower score still bounds the search.
    const auto taken = std::ranges::find_if(
        Entries, [score](const TScoreEntry& entry) { return entry.Score < score; });
    const int rank = static_cast<int>(taken - Entries.begin()) + 1;
    if (Dialog != nullptr) {
        PlaceNameEditor(rank);
    }
    std::copy_backward(taken, Entries.end() - 1, Entries.end());
    const auto flag = AddedHere.begin() + (rank - 1);
    std::copy_backward(flag, AddedHere.end() - 1, AddedHere.end());
    *flag = true;
    taken->Score = score;
    const double date = LocalDateTimeNow();
    taken->Date = date;
    ShowTable();
    if (Dialog == nullptr) {
        return date;
    }
    {
        const TNameEntryReset reset(*Dialog);
        const TModalDialogPause pause;
        Dialog->SetTag(rank);
        Dialog->ShowModal();
    }
    ShowTable();
    return date;
}

int TScoreTable::RankOf(std::int32_t score, double date) const {
    const auto row = std::ranges::find_if(Entries, [score, date](const TScoreEntry& entry) {
        return entry.Score == score && entry.Date == date;
    });
    return row == Entries.end() ? 0 : static_cast<int>(row - Entries.begin()) + 1;
}

void TScoreTable::StoreName(int rank, std::string_view name) {
    if (rank < 1 || rank > ScoreRankCount) {
        throw std::out_of_range("no rank " + std::to_string(rank) + " in the high-score table");
    }
    Entries[static_cast<std::size_t>(rank - 1)].SetName(name);
    AddedHere[static_cast<std::size_t>(rank - 1)] = true;
}

void TScoreTable::ClearTable() {
    Entries = DefaultEntries();
    AddedHere = {};
    ShowTable();
    WriteLocked(false);
}

void TScoreTable::PlaceNameEditor(int rank) {
    const int firstTop = Dialog->NameLabelTop(1);
    const int rowPitch = Dialog->NameLabelTop(2) - firstTop;
    Dialog->ShowNameEditor(firstTop - NameEditorRaise + (rank - 1) * rowPitch);
}

TScoreTable::TTableBytes TScoreTable::Encode(const TEntries& entries) {
    TTableBytes bytes{};
    for (std::size_t index = 0; index < entries.size(); ++index) {
        EncodeScoreEntry(entries[index],
                         TScoreEntryBytes(bytes.data() + index * ScoreEntrySize, ScoreEntrySize));
    }
    return bytes;
}

TScoreTable::TEntries TScoreTable::Decode(const TTableBytes& bytes) {
    TEntries entries;
    for (std::size_t index = 0; index < entries.size(); ++index) {
        entries[index] = DecodeScoreEntry(
            TConstScoreEntryBytes(bytes.data() + index * ScoreEntrySize, ScoreEntrySize));
    }
    return entries;
}

std::array<TScoreEntry, ScoreRankCount>
MergeScoreTables(const std::array<TScoreEntry, ScoreRankCount>& disk,
                 const std::array<TScoreEntry, ScoreRankCount>& ours,
                 std::array<bool, ScoreRankCount>& added) {
    std::array<TScoreEntry, ScoreRankCount> merged = disk;
    std::array<bool, ScoreRankCount> mergedAdded{};
    for (std::size_t index = 0; index < ours.size(); ++index) {
        if (!added[index]) {
            continue;
        }
        const TScoreEntry& entry = ours[index];
        // On disk already (an earlier save of this game, or a row it read and renamed): the
        // date is taken to the millisecond, so with the score it tells rows apart.
        const auto same = std::ranges::find_if(merged, [&entry](const TScoreEntry& other) {
            return other.Score == entry.Score && other.Date == entry.Date;
        });
        if (same != merged.end()) {
            same->NameLength = entry.NameLength;
            same->NameChars = entry.NameChars;
            mergedAdded[static_cast<std::size_t>(same - merged.begin())] = true;
            continue;
        }
        if (entry.Score <= merged.back().Score) {
            continue; // beaten meanwhile by the scores of another game
        }
        const auto taken = std::ranges::find_if(
            merged, [&entry](const TScoreEntry& other) { return other.Score < entry.Score; });
        const auto position = static_cast<std::size_t>(taken - merged.begin());
        std::copy_backward(taken, merged.end() - 1, merged.end());
        std::copy_backward(mergedAdded.begin() + static_cast<std::ptrdiff_t>(position),
                           mergedAdded.end() - 1, mergedAdded.end());
        *taken = entry;
        mergedAdded[position] = true;
    }
    added = mergedAdded;
    return merged;
}
