// Where the game's files go in each layout, and that the player's directories are made when
// the files are first written.

#include "platform/files/GameFilePlaces.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {
class GameFilePlacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = std::filesystem::temp_directory_path() /
               ("zorbix-places-" + std::to_string(::getpid()));
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root / "usr/games");
        std::filesystem::create_directories(Root / "usr/share/games/zorbix");
        std::ofstream(Root / "usr/share/games/zorbix/Sounds.dxw") << "x";
    }
    void TearDown() override { std::filesystem::remove_all(Root); }

    std::string Programs() const { return (Root / "usr/games").string() + "/"; }
    TEnvironmentLookup Environment() const {
        return [this](const char* name) -> std::optional<std::string> {
            const auto found = Variables.find(name);
            if (found == Variables.end()) {
                return std::nullopt;
            }
            return found->second;
        };
    }

    std::filesystem::path Root;
    std::map<std::string, std::string> Variables;
};
} // namespace

// Guards the build folder's behaviour: with "Sounds.dxw" beside the program, or a program
// directory chosen by a test, every file stays beside the program whatever XDG says.
TEST_F(GameFilePlacesTest, PortableLayoutKeepsEveryFileBesideTheProgram) {
    Variables["XDG_CONFIG_HOME"] = "/elsewhere";
    std::ofstream(Programs() + "Sounds.dxw") << "x";
    for (const bool forced : {false, true}) {
        const TGameFilePlaces places = GameFilePlacesFor(Programs(), forced, Environment());
        EXPECT_EQ(places.Layout, TFileLayout::Portable);
        EXPECT_EQ(places.DataDirectory, Programs());
        EXPECT_EQ(places.OptionsFile, Programs() + "Options.ini");
        EXPECT_EQ(places.HighScoresFile, Programs() + "HiScores.dat");
        EXPECT_EQ(places.ConvertedPicturesDirectory, Programs() + "Images/");
    }
    // Neither beside the program nor installed: the files are looked for beside the program,
    // which reports the missing "Sounds.dxw" there as a build folder always did.
    std::filesystem::remove(Programs() + "Sounds.dxw");
    EXPECT_EQ(GameFilePlacesFor(Programs(), true, Environment()).Layout, TFileLayout::Portable);
    std::filesystem::remove(Root / "usr/share/games/zorbix/Sounds.dxw");
    EXPECT_EQ(GameFilePlacesFor(Programs(), false, Environment()).Layout, TFileLayout::Portable);
}

// Guards the installed layout: data under <prefix>/share/games/zorbix whatever the prefix,
// the player's files in the XDG directories the environment names.
TEST_F(GameFilePlacesTest, InstalledLayoutFindsTheDataBySharePathAndUsesXdgDirectories) {
    Variables = {{"HOME", "/home/player"},
                 {"XDG_CONFIG_HOME", "/x/config"},
                 {"XDG_DATA_HOME", "/x/data/"},
                 {"XDG_CACHE_HOME", "/x/cache"}};
    const TGameFilePlaces places = GameFilePlacesFor(Programs(), false, Environment());
    EXPECT_EQ(places.Layout, TFileLayout::Installed);
    EXPECT_EQ(places.DataDirectory, (Root / "usr/share/games/zorbix").string() + "/");
    EXPECT_EQ(places.OptionsFile, "/x/config/zorbix/Options.ini");
    EXPECT_EQ(places.HighScoresFile, "/x/data/zorbix/HiScores.dat");
    EXPECT_EQ(places.ConvertedPicturesDirectory, "/x/cache/zorbix/Images/");
}

// Guards the defaults: unset, empty or relative XDG variables fall back to the usual places
// in the home directory, as the base-directory rules ask.
TEST_F(GameFilePlacesTest, InstalledLayoutFallsBackToTheHomeDirectory) {
    Variables = {
        {"HOME", "/home/player"}, {"XDG_CONFIG_HOME", "relative/config"}, {"XDG_DATA_HOME", ""}};
    const TGameFilePlaces places = GameFilePlacesFor(Programs(), false, Environment());
    EXPECT_EQ(places.OptionsFile, "/home/player/.config/zorbix/Options.ini");
    EXPECT_EQ(places.HighScoresFile, "/home/player/.local/share/zorbix/HiScores.dat");
    EXPECT_EQ(places.ConvertedPicturesDirectory, "/home/player/.cache/zorbix/Images/");
}
