#include "platform/profile/PrivateProfile.h"
#include "platform/profile/AtomicFile.h"
#include "tests/profile/TempDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

// Guards the reader's contract: a default for anything missing, values found without regard
// to case or blanks with one pair of quotes removed, and a result cut to the buffer.
TEST(GetPrivateProfileStringA, FindsValuesOrDefaultsAndCutsThemToTheBuffer) {
    const TTempDirectory directory;
    const std::string file = directory.File("Options.ini");
    WriteFileBytes(file, "[Other]\nView=9\n [ options ] \r\n  VIEW = '12345' \r\nview=7\n");
    char buffer[4] = "??";
    EXPECT_EQ(GetPrivateProfileStringA("Options", "View", "", buffer, 4, file.c_str()), 3u);
    EXPECT_STREQ(buffer, "123");
    EXPECT_EQ(GetPrivateProfileStringA("Options", "Music", "d", buffer, 4, file.c_str()), 1u);
    EXPECT_STREQ(buffer, "d");
}

// Guards against reporting success for a write that did not happen, and against clobbering
// a file the layer could not read or forging lines from a value.
TEST(WritePrivateProfileStringA, ReportsFailureAndLeavesFilesAsTheyWere) {
    const TTempDirectory directory;
    const std::string file = directory.File("Options.ini");
    WriteFileBytes(file, "[Options]\nView=1\n");
    EXPECT_EQ(WritePrivateProfileStringA("Options", "View", "1\n[Evil]", file.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("Options", "Vi=ew", "1", file.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(file), "[Options]\nView=1\n");
    const std::string nowhere = directory.File("gone/x.ini");
    EXPECT_EQ(WritePrivateProfileStringA("Options", "View", "2", nowhere.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("Options", "View", "2", directory.Path.c_str()), 0);
    EXPECT_EQ(directory.EntryCount(), 1);
}

// Guards what a replacement must not lose: the file's permissions, and a link the player set
// up to keep the file elsewhere.
TEST(ReplaceFileContents, KeepsPermissionsAndWritesThroughSymbolicLinks) {
    const TTempDirectory directory;
    const std::string real = directory.File("real.ini");
    WriteFileBytes(real, "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, directory.File("link.ini"));
    EXPECT_FALSE(ReplaceFileContents(directory.File("link.ini"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(directory.File("link.ini")));
    EXPECT_EQ(ReadFileBytes(real), "new");
    struct stat status {};
    ASSERT_EQ(::stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}
