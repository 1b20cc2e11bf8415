#include "core/GameError.h"
#include "settings/DateTime.h"
#include "tests/profile/TempDirectory.h"
#include "tests/settings/TableSummary.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace {

// One entry's 64 bytes, built by hand apart from the encoder under test; the name field is
// padded with '#' so that lost insignificant bytes show.
std::string EntryBytes(std::string_view name, const char (&score)[5], char filler = '\0',
                       const char (&date)[9] = "\0\0\0\0\0\0\0\0") {
    return static_cast<char>(name.size()) + std::string(name) + std::string(50 - name.size(), '#') +
           filler + std::string(score, 4) + std::string(date, 8);
}

// Rank 1 is dated 1 January 2000 at noon, 36526.5.
const std::string HandBuiltTable =
    EntryBytes("Ann", "\x39\x30\0\0", '\x7F', "\0\0\0\0\xD0\xD5\xE1\x40") +
    EntryBytes("", "\xFE\xFF\xFF\xFF") + EntryBytes(std::string(50, 'z'), "\0\x01\0\0") +
    EntryBytes("Bo", "\x02\0\0\0") + EntryBytes("Cy", "\x01\0\0\0");

std::string LoadError(TScoreTable& table) {
    try {
        table.LoadTable();
    } catch (const EGameError& error) {
        return error.what();
    }
    return "none";
}

class TScoreFileTest : public ::testing::Test {
protected:
    TTempDirectory Directory;
    std::string File = Directory.File("HiScores.dat");
};

} // namespace

TEST(EncodeDateTime, CountsLocalDaysFromTheEndOf1899WithTheTimeAsFraction) {
    EXPECT_DOUBLE_EQ(EncodeDateTime(1899, 12, 30, 0, 0, 0, 0), 0);
    EXPECT_DOUBLE_EQ(EncodeDateTime(1900, 3, 1, 6, 0, 0, 0), 61.25);
    EXPECT_DOUBLE_EQ(EncodeDateTime(2000, 1, 1, 12, 0, 0, 0), 36526.5);
}

// Guards the format both ways against bytes built by hand: offsets, little-endian score and
// date, and the insignificant bytes, which survive a load and save unchanged.
TEST_F(TScoreFileTest, ReadsAndWritesTheExact320ByteLayout) {
    WriteFileBytes(File, HandBuiltTable);
    TScoreTable table(File);
    table.LoadTable();
    EXPECT_EQ(TableSummary(table), "Ann 12345,  -2, " + std::string(50, 'z') + " 256, Bo 2, Cy 1");
    EXPECT_EQ(table.Entry(1).Date, 36526.5);
    table.SaveTable();
    EXPECT_EQ(ReadFileBytes(File), HandBuiltTable);

    table.StoreName(4, std::string(50, 'm'));
    table.SaveTable();
    const std::string written = ReadFileBytes(File);
    EXPECT_EQ(written.size(), 320u);
    EXPECT_EQ(written.substr(192, 52), '\x32' + std::string(50, 'm') + '\0');
}

// Guards the block-by-block reading: a short file replaces only its own leading bytes; a long
// one lays each 320-byte block over the table from its first byte.
TEST_F(TScoreFileTest, ShortAndLongFilesOverlayTheTableFromItsFirstByte) {
    WriteFileBytes(File, HandBuiltTable.substr(0, 64) + "\x02QR");
    TScoreTable shortFile(File);
    shortFile.LoadTable();
    EXPECT_EQ(TableSummary(shortFile),
              "Ann 12345, QR 4, ................ 3, ................ 2, ................ 1");
    WriteFileBytes(File, HandBuiltTable + HandBuiltTable + "\x01Z");
    TScoreTable longFile(File);
    longFile.LoadTable();
    EXPECT_EQ(TableSummary(longFile).substr(0, 13), "Z 12345,  -2,");
}

// Guards against reading a name past its 50-byte field whatever the file holds, and against
// random bytes leaving the table unusable: it still ranks scores and saves a valid file.
TEST_F(TScoreFileTest, RandomFilesLoadWithNamesKeptInsideTheirField) {
    std::mt19937 random(1234);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(random() % 1000, '\0');
        for (std::size_t at = 0; at < bytes.size(); ++at) {
            bytes[at] = static_cast<char>(at % 64 == 0 ? 51 + random() % 205 : random());
        }
        WriteFileBytes(File, bytes);
        TScoreTable table(File);
        table.LoadTable();
        table.AddScore(INT32_MAX);
        table.SaveTable();
        const std::string saved = ReadFileBytes(File);
        ASSERT_EQ(saved.size(), 320u);
        for (std::size_t rank = 1; rank <= ScoreRankCount; ++rank) {
            const auto length = static_cast<unsigned char>(saved[(rank - 1) * 64]);
            EXPECT_LE(length, 50);
            EXPECT_EQ(table.Entry(static_cast<int>(rank)).Name().size(), length);
        }
    }
}

// Guards the loader's failure paths: a file marked read-only is only read, so it loads; one
// that cannot be read leaves the table as it was and says why; no file is no fault.
TEST_F(TScoreFileTest, LoadsReadOnlyFilesAndKeepsTheTableWhenAFileCannotBeRead) {
    WriteFileBytes(File, HandBuiltTable);
    std::filesystem::permissions(File, std::filesystem::perms::owner_read);
    TScoreTable readOnly(File);
    EXPECT_EQ(LoadError(readOnly), "none");
    EXPECT_EQ(readOnly.Entry(1).Name(), "Ann");

    TScoreTable missing(Directory.File("none.dat"));
    TScoreTable folder(Directory.Path.string());
    EXPECT_EQ(LoadError(missing) + ", " + LoadError(folder), "none, File access denied");
    EXPECT_EQ(TableSummary(folder), TableSummary(missing));
    EXPECT_EQ(folder.Entry(1).Name(), "................");
    // A directory of the path that is a file: the message names the path.
    TScoreTable underFile(File + "/HiScores.dat");
    EXPECT_EQ(LoadError(underFile), "I/O error: " + File + "/HiScores.dat: Not a directory");
}

// Guards the start against a huge table file (a sparse one of gigabytes took minutes): past its
// bound it is refused as unreadable, naming the file, and neither loaded nor replaced.
TEST_F(TScoreFileTest, AFileFarLargerThanATableIsRefusedByName) {
    WriteFileBytes(File, HandBuiltTable);
    std::filesystem::resize_file(File, std::uintmax_t{1} << 32);
    TScoreTable table(File);
    const std::string unloaded = TableSummary(table);
    EXPECT_EQ(LoadError(table), "I/O error: " + File + " is too large to be a high-score table");
    EXPECT_EQ(TableSummary(table), unloaded);
    EXPECT_THROW(table.SaveTable(), EGameError);
    EXPECT_EQ(std::filesystem::file_size(File), std::uintmax_t{1} << 32);
}

// Guards the save against a disk that fills mid-write: the old table stays whole on disk, the
// player hears why, and no stray file remains.
TEST_F(TScoreFileTest, SaveThatFailsMidWriteLeavesTheOldFileWhole) {
    WriteFileBytes(File, HandBuiltTable);
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit tight = previous;
    tight.rlim_cur = 100;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    std::string message;
    try {
        TScoreTable(File).SaveTable();
    } catch (const EGameError& error) {
        message = error.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(message, "Disk full");
    EXPECT_EQ(ReadFileBytes(File), HandBuiltTable);
    EXPECT_EQ(Directory.EntryCount(), 1);
}

// Guards against saving through a name into whatever it points at: as root, a link to a
// device node replaced the node with a regular file. Links, pipes and devices are refused
// with the general error text and left exactly as they were.
TEST_F(TScoreFileTest, SaveRefusesLinksPipesAndDevicesAndTouchesNothing) {
    const std::string target = Directory.File("elsewhere.dat");
    WriteFileBytes(target, "keep");
    std::filesystem::create_symlink(target, File);
    TScoreTable linked(File);
    linked.AddScore(50);
    EXPECT_THROW(linked.SaveTable(), EGameError);
    EXPECT_EQ(ReadFileBytes(target), "keep");
    EXPECT_TRUE(std::filesystem::is_symlink(File));

    const std::string device = Directory.File("device.dat");
    std::filesystem::create_symlink("/dev/null", device);
    EXPECT_THROW(TScoreTable(device).SaveTable(), EGameError);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    const std::string pipe = Directory.File("pipe.dat");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TScoreTable piped(pipe);
    EXPECT_EQ(LoadError(piped), "File access denied");
    try {
        piped.SaveTable();
        ADD_FAILURE() << "a pipe was written";
    } catch (const EGameError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(Directory.EntryCount(), 4);
}

// Guards against two games running at once losing each other's scores: each one's save
// reads what the other wrote and enters its own new scores there by the rank rule, a tie
// going below the score already on disk.
TEST_F(TScoreFileTest, SavesOfTwoGamesMergeTheirNewScores) {
    TScoreTable first(File);
    TScoreTable second(File);
    first.LoadTable();
    second.LoadTable();
    first.AddScore(30);
    first.StoreName(1, "Ann");
    std::this_thread::sleep_for(std::chrono::milliseconds(2)); // the dates tell rows apart
    second.AddScore(30);
    second.StoreName(1, "Bo");
    second.AddScore(20);
    second.StoreName(2, "Cy");
    first.SaveTable();
    second.SaveTable();
    EXPECT_EQ(TableSummary(second), "Ann 30, Bo 30, Cy 20, ................ 5, ................ 4");
    // A second save of the same game neither doubles its entries nor drops the other's.
    first.AddScore(10);
    first.StoreName(2, "Di");
    first.SaveTable();
    TScoreTable reader(File);
    reader.LoadTable();
    EXPECT_EQ(TableSummary(reader), "Ann 30, Bo 30, Cy 20, Di 10, ................ 5");
    EXPECT_EQ(TableSummary(first), TableSummary(reader));
    EXPECT_EQ(ReadFileBytes(File).size(), 320u);

    // Clear means clear: the other game's scores go too.
    second.ClearTable();
    reader.LoadTable();
    EXPECT_EQ(reader.Entry(1).Score, 5);
}

// Guards the table the dialog tells players to save as "hiscores.dat": without "HiScores.dat"
// it is read under any letter case and saved back under the table's own name.
TEST_F(TScoreFileTest, ATableSavedInAnotherLetterCaseIsReadAndSavedUnderItsName) {
    const std::string lower = Directory.File("hiscores.dat");
    WriteFileBytes(lower, HandBuiltTable);
    TScoreTable table(File);
    EXPECT_EQ(LoadError(table), "none");
    EXPECT_EQ(table.Entry(1).Name(), "Ann");
    table.SaveTable();
    EXPECT_EQ(ReadFileBytes(File).substr(0, 4), HandBuiltTable.substr(0, 4));

    TScoreTable unrelated(Directory.File("Scores.dat"));
    EXPECT_EQ(LoadError(unrelated), "none");
    EXPECT_EQ(unrelated.Entry(1).Name(), "................");
}
