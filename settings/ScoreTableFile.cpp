// Reading and writing "HiScores.dat".

#include "settings/ScoreTable.h"

#include "core/GameError.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/files/LockedFile.h"
#include "platform/files/RegularFile.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::size_t BlocksPerRead = 64;
// A table is 320 bytes; a file of more than a mebibyte is no table, however it is read, and
// reading it whole (a sparse file of gigabytes) would hold up the game.
constexpr std::size_t MaxTableFileBytes = 1u << 20;

// The design's two texts where they fit; any other failure names the file, so the player
// can find what is in the way (a directory of the path that is a file, say).
std::string IoErrorText(std::error_code error, const std::string& fileName) {
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::too_many_symbolic_link_levels ||
        error == std::errc::read_only_file_system || error == std::errc::is_a_directory) {
        return "File access denied";
    }
    if (error == std::errc::no_space_on_device || error == std::errc::file_too_large) {
        return "Disk full";
    }
    return "I/O error: " + fileName + ": " + error.message();
}

[[noreturn]] void ThrowIoError(std::error_code error, const std::string& fileName) {
    throw EGameError(IoErrorText(error, fileName));
}

// Every 320-byte block of the file lands on `table` from its first byte, so a long file
// leaves its last whole block overlaid by whatever part-block follows it. A file beyond the
// bound is refused as unreadable, naming it; `table` is then left to be dropped.
template <class TTableBytes>
void ReadBlocksOver(const TOpenFile& file, const std::string& fileName, TTableBytes& table) {
    std::array<std::byte, ScoreTableSize * BlocksPerRead> chunk;
    std::size_t filled = 0; // bytes of the current block received so far
    std::size_t total = 0;
    for (;;) {
        std::size_t count = 0;
        if (const std::error_code error = ReadFromFile(file, chunk, count)) {
            ThrowIoError(error, fileName);
        }
        if (count == 0) {
            return;
        }
        total += count;
        if (total > MaxTableFileBytes) {
            throw EGameError("I/O error: " + fileName + " is too large to be a high-score table");
        }
        for (std::size_t offset = 0; offset < count;) {
            const std::size_t length = std::min(ScoreTableSize - filled, count - offset);
            std::copy_n(chunk.data() + offset, length, table.data() + filled);
            filled = (filled + length) % ScoreTableSize;
            offset += length;
        }
    }
}

} // namespace

void TScoreTable::LoadTable() {
    const auto loadFrom = [this](const TOpenFile& file, const std::string& fileName) {
        TTableBytes table = Encode(Entries);
        ReadBlocksOver(file, fileName, table);
        Entries = Decode(table);
        AddedHere = {};
    };
    // Reading needs no write access: a file marked read-only still loads.
    std::error_code error;
    const TOpenFile file = OpenRegularFileForReading(TableFileName, error);
    if (error != std::errc::no_such_file_or_directory) {
        if (error) {
            ThrowIoError(error, TableFileName);
        }
        loadFrom(file, TableFileName);
        return;
    }
    // The dialog's messages ask players to save a downloaded table as "hiscores.dat"; on a
    // case-sensitive file system that is another name, read here and written back under the
    // table's own.
    const std::string sameName = SameNameInAnyCase(TableFileName);
    if (sameName.empty()) {
        return;
    }
    const TOpenFile other = OpenRegularFileForReading(sameName, error);
    if (error) {
        ThrowIoError(error, sameName);
    }
    loadFrom(other, sameName);
}

void TScoreTable::SaveTable() {
    WriteLocked(true);
}

void TScoreTable::WriteLocked(bool merge) {
    PreparePlayerDirectoryFor(TableFileName);
    std::error_code error;
    const TOpenFile lock = OpenLockedFile(TableFileName, error);
    if (error) {
        ThrowIoError(error, TableFileName);
    }
    TEntries entries = Entries;
    TAddedFlags added = AddedHere;
    if (merge) {
        TTableBytes disk = Encode(Entries);
        ReadBlocksOver(lock, TableFileName, disk);
        entries = MergeScoreTables(Decode(disk), Entries, added);
    }
    const TTableBytes table = Encode(entries);
    const std::string_view bytes(reinterpret_cast<const char*>(table.data()), table.size());
    if ((error = ReplaceFileContents(TableFileName, bytes))) {
        ThrowIoError(error, TableFileName);
    }
    Entries = entries;
    AddedHere = added;
}
