// The game's side of the effects: loading them at start-up and playing them by name, as the
// Sounds setting allows.

#include "audio/SoundEffects.h"
#include "core/GameError.h"
#include "settings/Options.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {
class SoundEffectsTest : public ::testing::Test {
protected:
    SoundEffectsTest() {
        Options = std::make_unique<TOptions>();
        Options->SoundOn = Options->MusicOn = true;
        TWaveCollection effects;
        AddWave(effects, "newgame", Constant(512, 400));
        AddWave(effects, "Beep", Constant(512, 100));
        AddWave(effects, "BEEP", Constant(512, 300));
        Directory.WriteSoundsFile(effects);
        CreateSoundComponents(&Window);
        SoundComponents->DXSound.Library = Devices.Library();
    }
    ~SoundEffectsTest() override {
        DestroySoundComponents();
        Options.reset();
    }
    TWaveCollection& Effects() { return SoundComponents->DXWaveList.Items(); }

    TTestWindow Window;
    THandMixedDevices Devices;
    TScratchDirectory Directory;
};
} // namespace

// Guards the ordinary run: the device opens with both settings kept, a name in any case plays
// the later of two items differing in case, and an effect asked for while sounds are off is
// not played, then or later.
TEST_F(SoundEffectsTest, EffectsPlayByNameWhileSoundsAreOn) {
    LoadSoundEffects(Directory.Path());
    ASSERT_TRUE(SoundComponents->DXSound.Initialized());
    EXPECT_TRUE(Options->SoundOn && Options->MusicOn);
    PlaySoundEffect("bEEp");
    EXPECT_EQ(SoundComponents->DXWaveList.Playback().DuplicateCount(Effects().Items(2)), 1);
    EXPECT_EQ(Devices.MixLeft(1024).front(), 300);
    Options->SoundOn = false;
    PlaySoundEffect("newgame");
    Options->SoundOn = true;
    EXPECT_EQ(Devices.MixLeft(4).back(), 0);
}

// Guards the silent fallback: whichever opening step fails, sounds and music are switched off
// without an error and the effects are loaded all the same.
TEST_F(SoundEffectsTest, ADeviceThatCannotOpenSwitchesSoundsAndMusicOff) {
    const std::function<void()> failures[]{
        [] { CreateSoundComponents(nullptr); },
        [] { SoundComponents->DXSound.Library.DirectSoundCreate = nullptr; },
        [] {
            SoundComponents->DXSound.Library.DirectSoundCreate =
                [](const GUID*, IDirectSound**, IUnknown*) { return DSERR_NODRIVER; };
        }};
    for (const auto& fail : failures) {
        Options->SoundOn = Options->MusicOn = true;
        CreateSoundComponents(&Window);
        fail();
        EXPECT_NO_THROW(LoadSoundEffects(Directory.Path()));
        EXPECT_FALSE(Options->SoundOn || Options->MusicOn);
        EXPECT_EQ(Effects().Count(), 3);
    }
}

// Guards a run started with sounds off: the device is never opened, and switching sounds on
// later finds the effects but plays nothing.
TEST_F(SoundEffectsTest, ARunStartedWithSoundsOffStaysSilentAfterSwitchingThemOn) {
    Options->SoundOn = false;
    LoadSoundEffects(Directory.Path());
    EXPECT_FALSE(SoundComponents->DXSound.Initialized());
    EXPECT_TRUE(Options->MusicOn);
    Options->SoundOn = true;
    PlaySoundEffect("newgame");
    EXPECT_EQ(SoundComponents->DXWaveList.Playback().DuplicateCount(Effects().Items(0)), 0);
}

// Guards the two kinds of missing: a name the collection lacks plays nothing and stops
// nothing, while a missing "Sounds.dxw" stops the loading with its full path.
TEST_F(SoundEffectsTest, AMissingNamePlaysNothingButAMissingFileStopsTheLoading) {
    LoadSoundEffects(Directory.Path());
    EXPECT_NO_THROW(PlaySoundEffect("kik9"));
    const TScratchDirectory empty;
    try {
        LoadSoundEffects(empty.Path());
        ADD_FAILURE() << "loading went on without Sounds.dxw";
    } catch (const EGameError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file " + empty.Path() + "Sounds.dxw");
    }
}
