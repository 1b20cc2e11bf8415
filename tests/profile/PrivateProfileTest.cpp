#include "platform/files/PrivateProfile.h"
#include "platform/files/AtomicFile.h"
#include "tests/profile/TempDirectory.h"

#include <gtest/gtest.h>

#include "platform/files/RegularFile.h"

#include <array>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_NE(WritePrivateProfileStringA("Options", "View", "2", nowhere.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA(nullptr, nullptr, nullptr, nowhere.c_str()), 0);
    EXPECT_EQ(WritePrivateProfileStringA("Options", "View", "2", directory.Path.c_str()), 0);
    EXPECT_EQ(directory.EntryCount(), 1);
}

// Guards the all-or-nothing save: a crash between two writes must not leave some keys new
// and some old, so nothing reaches the disk before the flush, and then all of it at once.
TEST(WritePrivateProfileStringA, WritesEveryCachedKeyInOneReplacementAtTheFlush) {
    const TTempDirectory directory;
    const std::string file = directory.File("Options.ini");
    WriteFileBytes(file, "[Options]\nView=1\nMusic=1\n");
    ASSERT_NE(WritePrivateProfileStringA("Options", "View", "3", file.c_str()), 0);
    ASSERT_NE(WritePrivateProfileStringA("Options", "Music", "0", file.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(file), "[Options]\nView=1\nMusic=1\n");
    std::array<char, 8> value{};
    GetPrivateProfileStringA("Options", "View", "", value.data(), value.size(), file.c_str());
    EXPECT_STREQ(value.data(), "3");
    ASSERT_NE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str()), 0);
    EXPECT_EQ(ReadFileBytes(file), "[Options]\nView=3\nMusic=0\n");
    EXPECT_EQ(directory.EntryCount(), 1);
}

// Guards against a hang at start: a pipe in place of the file has no writer, and a read of
// it would wait for ever; a device would never end.
TEST(GetPrivateProfileStringA, TakesTheDefaultForAPipeOrADeviceInPlaceOfTheFile) {
    const TTempDirectory directory;
    const std::string pipe = directory.File("Options.ini");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::array<char, 8> value{};
    GetPrivateProfileStringA("Options", "View", "d", value.data(), value.size(), pipe.c_str());
    EXPECT_STREQ(value.data(), "d");
    GetPrivateProfileStringA("Options", "View", "d", value.data(), value.size(), "/dev/zero");
    EXPECT_STREQ(value.data(), "d");
    EXPECT_EQ(WritePrivateProfileStringA("Options", "View", "2", pipe.c_str()), 0);
}

// Guards what a replacement must not lose: the file's permissions.
TEST(ReplaceFileContents, KeepsPermissions) {
    const TTempDirectory directory;
    const std::string real = directory.File("real.ini");
    WriteFileBytes(real, "old");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    EXPECT_FALSE(ReplaceFileContents(real, "new"));
    EXPECT_EQ(ReadFileBytes(real), "new");
    struct stat status {};
    ASSERT_EQ(::stat(real.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// Guards against destroying what a name points at: saved as root, a link to a device node
// used to replace the node with a regular file. Links, pipes and devices are refused and
// left exactly as they were.
TEST(ReplaceFileContents, RefusesLinksPipesAndDevicesAndTouchesNothing) {
    const TTempDirectory directory;
    const std::string real = directory.File("real.dat");
    WriteFileBytes(real, "old");
    const std::string link = directory.File("link.dat");
    std::filesystem::create_symlink(real, link);
    EXPECT_EQ(ReplaceFileContents(link, "new"), std::errc::too_many_symbolic_link_levels);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(real), "old");

    const std::string deviceLink = directory.File("null.dat");
    std::filesystem::create_symlink("/dev/null", deviceLink);
    EXPECT_TRUE(ReplaceFileContents(deviceLink, "new"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));

    const std::string pipe = directory.File("pipe.dat");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReplaceFileContents(pipe, "new"), std::errc::operation_not_permitted);
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(directory.EntryCount(), 4);
}

// Guards against litter: a save killed half way leaves its temporary file, which the next
// save removes, while another running game's temporary file is left to that game.
TEST(ReplaceFileContents, RemovesTemporariesOfDeadProcessesOnly) {
    const TTempDirectory directory;
    const std::string file = directory.File("Options.ini");
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(0);
    }
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = file + "." + std::to_string(child) + ".tmp";
    const std::string living = file + "." + std::to_string(::getppid()) + ".tmp";
    WriteFileBytes(dead, "[Options]\nView=");
    WriteFileBytes(living, "[Options]\n");
    WriteFileBytes(directory.File("Options.ini.notes.tmp"), "mine");
    EXPECT_FALSE(ReplaceFileContents(file, "[Options]\nView=2\n"));
    EXPECT_FALSE(std::filesystem::exists(dead));
    EXPECT_TRUE(std::filesystem::exists(living));
    EXPECT_TRUE(std::filesystem::exists(directory.File("Options.ini.notes.tmp")));
}

// Guards the bounded read: a file larger than its kind allows is refused before it fills
// memory, and so is anything but a regular file, without waiting on it.
TEST(ReadRegularFile, RefusesLargeFilesPipesAndDevices) {
    const TTempDirectory directory;
    const std::string file = directory.File("Sounds.dxw");
    WriteFileBytes(file, "12345");
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(ReadRegularFile(file, 5, bytes));
    EXPECT_EQ(bytes.size(), 5u);
    EXPECT_EQ(ReadRegularFile(file, 4, bytes), std::errc::file_too_large);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadRegularFile("/dev/zero", 4, bytes), std::errc::invalid_argument);
    const std::string pipe = directory.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(ReadRegularFile(pipe, 4, bytes), std::errc::invalid_argument);
    EXPECT_EQ(ReadRegularFile(directory.File("none"), 4, bytes),
              std::errc::no_such_file_or_directory);
}
