#include "core/GameError.h"
#include "settings/Options.h"
#include "tests/profile/TempDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

namespace {

class TOptionsFileTest : public ::testing::Test {
protected:
    TOptionsFileTest() { Settings.IniFileName = Directory.File("Options.ini"); }

    // View, difficulty, sounds and music as loaded from `contents`, or from no file.
    std::tuple<int, int, bool, bool> LoadFrom(const char* contents) {
        if (contents != nullptr) {
            WriteFileBytes(Settings.IniFileName, contents);
        }
        EXPECT_TRUE(Settings.LoadOptions());
        return {Settings.View, Settings.Difficulty, Settings.SoundOn, Settings.MusicOn};
    }

    TTempDirectory Directory;
    TOptions Settings;
};

} // namespace

// Guards the first run: defaults for everything, and a file with just the four settings
// (never the running score or lives) written on the way out.
TEST_F(TOptionsFileTest, StartsAtHalfSideNormalWithSoundAndMusicAndCreatesTheFileOnSave) {
    EXPECT_EQ(LoadFrom(nullptr), std::tuple(1, 1, true, true));
    Settings.Score = 120;
    Settings.Lives = 2;
    ASSERT_TRUE(Settings.SaveOptions());
    EXPECT_EQ(ReadFileBytes(Settings.IniFileName),
              "[Options]\r\nView=1\r\nDificulty=1\r\nSounds=1\r\nMusic=1\r\n");
}

// Guards the value rules key by key: number forms and their 32-bit limits, the low 8 bits,
// the one-f spelling, out-of-range views and difficulties taken as the menu shows them, and
// per-key defaults.
TEST_F(TOptionsFileTest, ReadsEachSettingWithItsOwnDefaultAndKeepsViewAndDifficultyInRange) {
    EXPECT_EQ(LoadFrom("[Options]\nView=0x3\nDificulty=0\nSounds=0\nMusic=0\n"),
              std::tuple(3, 0, false, false));
    EXPECT_EQ(LoadFrom("[Options]\nView=257\nDifficulty=0\nSounds=yes\nMusic=-1\n"),
              std::tuple(1, 1, true, true));
    EXPECT_EQ(LoadFrom("[OPTIONS]\r\nview=$2\r\nDIFICULTY=x0\r\nsounds=+0\r\nmusic=0X0\r\n"),
              std::tuple(2, 0, false, false));
    EXPECT_EQ(LoadFrom("[Options]\nView=9\nDificulty=7\n"), std::tuple(3, 1, true, true));
    EXPECT_EQ(LoadFrom("[Options]\nView=-1\nDificulty=256\n"), std::tuple(3, 0, true, true));
    EXPECT_EQ(LoadFrom("[Options]\nView=abc\nDificulty=\nMusic=0.5\n"),
              std::tuple(1, 1, true, true));
    EXPECT_EQ(LoadFrom("[Options]\nView=-$FFFFFFFE\nSounds=$100000000\nMusic=4294967296\n"),
              std::tuple(2, 1, true, true));
    EXPECT_EQ(LoadFrom("[Options]\nView=0x\nSounds=1 0\nMusic=0x0g\n"),
              std::tuple(1, 1, true, true));
    EXPECT_EQ(LoadFrom("[Other]\nView=2\nSounds=0\n"), std::tuple(1, 1, true, true));
}

// Guards the player's own edits: other keys, sections, spacing and line endings survive a
// save untouched, and each setting is replaced where it stands.
TEST_F(TOptionsFileTest, SaveReplacesItsFourKeysInPlaceAndKeepsEveryOtherLine) {
    LoadFrom("; mine\r\n[options]\r\nVIEW = 0\r\nExtra=keep\n\n[Other]\nView=2\n");
    Settings.View = 2;
    Settings.SoundOn = false;
    ASSERT_TRUE(Settings.SaveOptions());
    EXPECT_EQ(ReadFileBytes(Settings.IniFileName),
              "; mine\r\n[options]\r\nVIEW = 2\r\nExtra=keep\nDificulty=1\r\nSounds=0\r\n"
              "Music=1\r\n\n[Other]\nView=2\n");
}

TEST_F(TOptionsFileTest, SaveThatCannotWriteRaisesUnableToWriteWithTheFullPath) {
    Settings.IniFileName = Directory.File("gone/Options.ini");
    try {
        Settings.SaveOptions();
        ADD_FAILURE() << "no error raised";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + Settings.IniFileName);
    }
}

// Guards a settings file past any settings file's size: the defaults are used, the player's
// file is kept, and the one message at the end says why, naming it (it claimed a failed write).
TEST_F(TOptionsFileTest, AFileTooLargeToReadIsKeptAndTheMessageSaysWhy) {
    WriteFileBytes(Settings.IniFileName, "[Options]\r\nView=3\r\n");
    std::filesystem::resize_file(Settings.IniFileName, 2u << 20);
    EXPECT_EQ(LoadFrom(nullptr), std::tuple(1, 1, true, true));
    try {
        Settings.SaveOptions();
        ADD_FAILURE() << "saved over the player's file";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()),
                  Settings.IniFileName +
                      " is too large to be a settings file: it was left as it is, and the "
                      "settings were not saved");
    }
    EXPECT_EQ(std::filesystem::file_size(Settings.IniFileName), 2u << 20);
}
