#include "MidiReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {
const char* const GeneratedFiles[] = {"Sounds.dxw", "theme1.mid", "theme2.mid", "theme3.mid"};

std::filesystem::path ScratchDirectory(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("zorbix-soundgen-" + std::to_string(::getpid())) / name;
    std::filesystem::remove_all(dir);
    return dir;
}

int RunGenerator(const std::filesystem::path& outdir) {
    const std::string command =
        std::string("\"") + ZORBIX_SOUNDGEN + "\" \"" + outdir.string() + "\" 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

// The build must not change the shipped sounds from one run to the next: no clock, no
// unseeded randomness, no uninitialised memory in what is written.
TEST(SoundGenerator, TwoRunsWriteTheSameBytes) {
    const auto first = ScratchDirectory("first");
    const auto second = ScratchDirectory("second");
    ASSERT_EQ(RunGenerator(first), 0);
    ASSERT_EQ(RunGenerator(second), 0);
    for (const char* name : GeneratedFiles) {
        const auto a = ReadBinaryFile((first / name).string());
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, ReadBinaryFile((second / name).string())) << name;
    }
    std::filesystem::remove_all(first.parent_path());
}

// Guards against a failed build step passing as success and leaving stale or missing files.
TEST(SoundGenerator, UnwritableDirectoryFailsTheRun) {
    const auto blocker = ScratchDirectory("blocker");
    std::filesystem::create_directories(blocker.parent_path());
    std::ofstream(blocker) << "a file where the directory should be";
    EXPECT_EQ(RunGenerator(blocker), 1);
    EXPECT_NE(RunGenerator(""), 0);
    std::filesystem::remove_all(blocker.parent_path());
}
