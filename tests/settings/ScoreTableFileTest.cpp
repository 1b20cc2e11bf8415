#include "core/GameError.h"
#include "settings/DateTime.h"
#include "tests/profile/TempDirectory.h"
#include "tests/settings/TableSummary.h"

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

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
