// The kept games' folder: what is kept, what is removed, and what the menu is offered.

#include "settings/ReplayStore.h"
#include "core/GameError.h"
#include "tests/profile/TempDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {
std::vector<std::string> KeptNames(const TTempDirectory& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path / "Replays")) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

TReplay GameOf(std::int32_t score, double date, std::string name) {
    return {{score, 1, date, std::move(name)}, {{TCommandKind::Seed, 1}}};
}
} // namespace

// Guards the rule as built: the games of the table's rows (score, date and name all agree),
// one each, and the last game stay; other games' files go, damaged ones included; the
// player's own files and a missing folder are no one's business; a folder that cannot be
// written loses the replay with a reason.
TEST(ReplayStore, KeepsTheTablesGamesAndTheLastOne) {
    TTempDirectory folder;
    TScoreTable table(folder.File("HiScores.dat"));
    const std::string directory = folder.File("Replays") + "/";
    TReplayStore store(directory);
    EXPECT_FALSE(store.List(table).Last);

    const double first = *table.AddScore(100);
    const double second = *table.AddScore(50);
    const std::string rowName = table.Entry(1).Name();
    ASSERT_FALSE(store.Keep(GameOf(100, first, rowName), table));
    ASSERT_FALSE(store.Keep(GameOf(100, first, rowName), table)); // the same row twice
    ASSERT_FALSE(store.Keep(GameOf(50, second, "someone else"), table));
    std::ofstream(directory + "notes.txt") << "mine";
    std::ofstream(directory + "game-20000101-000000-000.replay") << "# zorbix replay 9\n";
    ASSERT_FALSE(store.Keep(GameOf(3, second, ""), table));
    ASSERT_FALSE(store.Keep(GameOf(50, second, rowName), table));

    const std::vector<std::string> names = KeptNames(folder);
    ASSERT_EQ(names.size(), 3u) << names.back();
    EXPECT_EQ(names.back(), "notes.txt");
    const TKeptGames kept = store.List(table);
    ASSERT_EQ(kept.Ranked.size(), 2u);
    EXPECT_EQ(kept.Ranked[0].Rank, 1);
    EXPECT_EQ(kept.Ranked[0].Header.Date, first);
    EXPECT_EQ(kept.Ranked[1].Rank, 2);
    ASSERT_TRUE(kept.Last);
    EXPECT_EQ(kept.Last->Path, kept.Ranked[1].Path);
    EXPECT_EQ(LoadReplayFile(kept.Last->Path).Commands, GameOf(0, 0, "").Commands);

    std::ofstream(folder.File("blocked")) << "a file where the folder should be";
    EXPECT_TRUE(TReplayStore(folder.File("blocked") + "/").Keep(GameOf(1, 0, ""), table));
    EXPECT_FALSE(TReplayStore(folder.File("missing") + "/").List(table).Last);
}

// Guards the reader's refusals with the player's words.
TEST(ReplayStore, RefusesFilesThatAreNoReplays) {
    TTempDirectory folder;
    std::filesystem::create_directory(folder.File("directory"));
    std::ofstream(folder.File("large")) << std::string(LargestReplayBytes + 1, '#');
    const std::pair<std::string, std::string> cases[]{
        {folder.File("missing"), "No such file"},
        {folder.File("directory"), "Invalid argument"},
        {folder.File("large"), "too large to be a replay"},
    };
    for (const auto& [path, reason] : cases) {
        try {
            LoadReplayFile(path);
            ADD_FAILURE() << path;
        } catch (const EGameError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
}
