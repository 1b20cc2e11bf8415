// The game's side of the effects: loading them at start-up and playing them by name, as the
// Sounds setting allows.

#include "audio/SoundEffects.h"
#include "core/GameError.h"
#include "settings/Options.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
class SoundEffectsTest : public ::testing::Test {
protected:
    SoundEffectsTest() {
        Options = std::make_unique<TOptions>();
        Options->SoundOn = true;
        Options->MusicOn = true;
        TWaveCollection effects;
        AddWave(effects, "newgame", Constant(512, 400));
        AddWave(effects, "Beep", Constant(512, 100));
        AddWave(effects, "BEEP", Constant(512, 300));
        Directory.WriteCollection(effects);
    }
    ~SoundEffectsTest() override {
        DestroySoundComponents();
        Options.reset();
    }

    // Components on the main window whose device is the hand-mixed one.
    void CreateMixedByHand() {
        CreateSoundComponents(&Window);
        SoundComponents->DXSound.Library = Devices.Library();
    }
    TWaveCollection& Effects() { return SoundComponents->DXWaveList.Items(); }

    TTestWindow Window;
    TSilentDevices Devices;
    TScratchDirectory Directory;
};
} // namespace

// Guards the ordinary start: the device opens, every effect is ready, the settings stay on,
// and a name in any letter case plays the item named later in the file.
TEST_F(SoundEffectsTest, LoadingOpensTheDeviceAndALookupPlaysTheLaterOfTwoNamesInAnyCase) {
    CreateMixedByHand();
    LoadSoundEffects(Directory.Path());
    EXPECT_TRUE(Options->SoundOn);
    EXPECT_TRUE(Options->MusicOn);
    ASSERT_TRUE(SoundComponents->DXSound.Initialized());
    ASSERT_EQ(Effects().Count(), 3);

    PlaySoundEffect("bEEp");
    EXPECT_EQ(Effects().Items(1).DuplicateCount(), 0);
    EXPECT_EQ(Effects().Items(2).DuplicateCount(), 1);
    EXPECT_EQ(Devices.MixLeft(4).back(), 300);
}

// Guards the silent fallback: whichever opening step fails, sounds and music are switched
// off without an error, the effects are still loaded, and nothing is opened.
TEST_F(SoundEffectsTest, ADeviceThatCannotOpenSwitchesSoundsAndMusicOff) {
    const std::vector<std::function<void()>> failingStarts{
        [] { CreateSoundComponents(nullptr); },
        [this] {
            CreateSoundComponents(&Window);
            SoundComponents->DXSound.Library.DirectSoundCreate = nullptr;
        },
        [this] {
            CreateSoundComponents(&Window);
            SoundComponents->DXSound.Library.DirectSoundCreate =
                [](const GUID*, IDirectSound**, IUnknown*) { return DSERR_NODRIVER; };
        },
    };
    for (const auto& failingStart : failingStarts) {
        Options->SoundOn = true;
        Options->MusicOn = true;
        failingStart();
        EXPECT_NO_THROW(LoadSoundEffects(Directory.Path()));
        EXPECT_FALSE(Options->SoundOn);
        EXPECT_FALSE(Options->MusicOn);
        EXPECT_FALSE(SoundComponents->DXSound.Initialized());
        EXPECT_EQ(Effects().Count(), 3);
    }
}

// Guards the run started with sounds off: the device is never opened, the effects are still
// loaded, and switching sounds on later finds them but plays nothing.
TEST_F(SoundEffectsTest, ARunStartedWithSoundsOffStaysSilentAfterSwitchingThemOn) {
    Options->SoundOn = false;
    CreateMixedByHand();
    LoadSoundEffects(Directory.Path());
    EXPECT_FALSE(SoundComponents->DXSound.Initialized());
    EXPECT_TRUE(Options->MusicOn);
    ASSERT_EQ(Effects().Count(), 3);

    Options->SoundOn = true;
    PlaySoundEffect("newgame");
    EXPECT_FALSE(Effects().Items(0).Initialized());
    EXPECT_EQ(Effects().Items(0).DuplicateCount(), 0);
}

// Guards the Sounds setting during a run: an effect asked for while it is off is not played,
// then or later.
TEST_F(SoundEffectsTest, EffectsAskedForWhileSoundsAreOffAreNeverPlayed) {
    CreateMixedByHand();
    LoadSoundEffects(Directory.Path());
    Options->SoundOn = false;
    PlaySoundEffect("newgame");
    Options->SoundOn = true;
    EXPECT_EQ(Devices.MixLeft(4).back(), 0);
    PlaySoundEffect("newgame");
    EXPECT_EQ(Devices.MixLeft(4).back(), 400);
}

// Guards the two kinds of missing: a name the collection lacks plays nothing and stops
// nothing, while a missing "Sounds.dxw" stops the loading with its full path.
TEST_F(SoundEffectsTest, AMissingNamePlaysNothingButAMissingFileStopsTheLoading) {
    CreateMixedByHand();
    LoadSoundEffects(Directory.Path());
    EXPECT_NO_THROW(PlaySoundEffect("kik9"));
    EXPECT_EQ(Devices.MixLeft(4).back(), 0);

    TScratchDirectory empty;
    try {
        LoadSoundEffects(empty.Path());
        ADD_FAILURE() << "loading went on without Sounds.dxw";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + empty.Path() + "Sounds.dxw");
    }
}
