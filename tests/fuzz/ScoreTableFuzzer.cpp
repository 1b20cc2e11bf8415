// Any bytes as "HiScores.dat": the table loads them, takes a new score, merges it into the
// file on disk and saves; the file is then 320 bytes again and reads back as the table.

#include "core/GameError.h"
#include "settings/ScoreTable.h"
#include "tests/fuzz/ScratchFiles.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>

namespace {
const TScratchFiles Scratch;

bool SameEntries(const TScoreTable& one, const TScoreTable& other) {
    for (int rank = 1; rank <= ScoreRankCount; ++rank) {
        const TScoreEntry& a = one.Entry(rank);
        const TScoreEntry& b = other.Entry(rank);
        if (a.Name() != b.Name() || a.Score != b.Score ||
            std::memcmp(&a.Date, &b.Date, sizeof a.Date) != 0) {
            return false;
        }
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fileName = Scratch.Write("HiScores.dat", {data, size});
    TScoreTable table(fileName);
    table.LoadTable();
    for (int rank = 1; rank <= ScoreRankCount; ++rank) {
        if (table.Entry(rank).Name().size() > ScoreNameCapacity) {
            __builtin_trap();
        }
    }
    // Beats the last row unless that holds the largest score there is.
    const std::int32_t last = table.Entry(ScoreRankCount).Score;
    table.AddScore(last == INT32_MAX ? last : last + 1);
    table.StoreName(ScoreRankCount, "fuzz");
    table.SaveTable();
    if (std::filesystem::file_size(fileName) != ScoreTableSize) {
        __builtin_trap();
    }
    TScoreTable again(fileName);
    again.LoadTable();
    if (!SameEntries(table, again)) {
        __builtin_trap();
    }
    return 0;
}
