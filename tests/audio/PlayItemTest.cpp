// Playing one item: which buffer each start takes, what is heard, and what cannot play. The
// device is mixed by hand, one frame per sample of the test waves.

#include "audio/DXSound.h"
#include "audio/DXWaveList.h"
#include "core/GameError.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {
class PlayItemTest : public ::testing::Test {
protected:
    PlayItemTest() : Sound(&Window) {
        Sound.Library = Devices.Library();
        Waves.SetDXSound(&Sound);
    }

    std::string RestoreFailure() {
        try {
            Waves.Items().Restore();
        } catch (const EGameError& error) {
            return error.what();
        }
        return "filled";
    }

    TTestWindow Window;
    TSilentDevices Devices;
    TDXSound Sound;
    TDXWaveList Waves;
};
} // namespace

// Guards the cut-off: with two copies allowed and both busy, the third start restarts the
// copy that started first, and the younger one plays on. A ramp wave makes each mixed frame
// the sum of the copies' positions.
TEST_F(PlayItemTest, ThirdStartOfALimitOfTwoCutsOffTheOldestCopy) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "fall", Ramp(4000));
    item.SetMaxPlayingCount(2);
    Sound.OpenDevice();
    item.PlayItem(false);
    Devices.MixLeft(1000);
    item.PlayItem(false);
    Devices.MixLeft(1000);
    TDirectSoundBuffer* const oldest = &item.Duplicate(0);
    item.PlayItem(false);

    ASSERT_EQ(item.DuplicateCount(), 2);
    EXPECT_EQ(&item.Duplicate(1), oldest);
    // The younger copy at 1000, the restarted one at 0.
    EXPECT_EQ(Devices.MixLeft(1).front(), 1000);
    Devices.MixLeft(3200);
    EXPECT_FALSE(item.Duplicate(0).Playing());
    EXPECT_TRUE(item.Duplicate(1).Playing());
}

// Guards the unlimited case: every start while the others sound gets a copy of its own, all
// heard together, and a later start reuses a finished copy instead of making another.
TEST_F(PlayItemTest, WithoutALimitEveryStartSoundsOnItsOwnCopy) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "kik3", Constant(512, 1000));
    Sound.OpenDevice();
    for (int start = 0; start < 5; ++start) {
        item.PlayItem(false);
    }
    ASSERT_EQ(item.DuplicateCount(), 5);
    EXPECT_EQ(Devices.MixLeft(8).back(), 5000);
    Devices.MixLeft(1024);
    item.PlayItem(false);
    EXPECT_EQ(item.DuplicateCount(), 5);
    EXPECT_EQ(Devices.MixLeft(8).back(), 1000);
}

// Guards the looped item: each start rewinds its one main buffer, which loops on; it never
// makes duplicates.
TEST_F(PlayItemTest, LoopedItemRestartsOnItsMainBuffer) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "drone", Ramp(2000));
    item.Looped = true;
    Sound.OpenDevice();
    item.PlayItem(false);
    Devices.MixLeft(1000);
    item.PlayItem(false);
    EXPECT_EQ(Devices.MixLeft(1).front(), 0);
    EXPECT_EQ(item.DuplicateCount(), 0);
    Devices.MixLeft(5000);
    EXPECT_TRUE(item.MainBuffer()->Playing());
    EXPECT_EQ(Devices.MixLeft(1).front(), 5001 % 2000);
}

// Guards the silent cases: an item of a collection on no open device, and a wave without
// samples, play nothing and make no buffers.
TEST_F(PlayItemTest, NothingPlaysWithoutAnOpenDeviceOrWithoutSamples) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "newslot", Constant(256, 900));
    TWaveCollectionItem& empty = AddWave(Waves.Items(), "gameover", {});
    item.PlayItem(false);
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.MainBuffer(), nullptr);

    Sound.OpenDevice();
    empty.PlayItem(false);
    EXPECT_EQ(empty.MainBuffer(), nullptr);
    EXPECT_EQ(empty.DuplicateCount(), 0);
    EXPECT_EQ(Devices.MixLeft(4).back(), 0);
}

// Guards loading on an open device: every new item is attached and its main buffer holds the
// file's samples, byte for byte as they are heard.
TEST_F(PlayItemTest, LoadingOnAnOpenDeviceFillsEveryItemFromTheFile) {
    TScratchDirectory directory;
    TWaveCollection written;
    AddWave(written, "kik0", Ramp(300));
    AddWave(written, "kik1", Constant(300, -1234));
    directory.WriteCollection(written);
    AddWave(Waves.Items(), "stale", Constant(300, 5));
    Sound.OpenDevice();

    Waves.Items().LoadCollectionFile(directory.Path() + "Sounds.dxw");
    ASSERT_EQ(Waves.Items().Count(), 2);
    for (int index = 0; index < 2; ++index) {
        const TWaveCollectionItem& item = Waves.Items().Items(index);
        EXPECT_TRUE(item.Initialized());
        ASSERT_NE(item.MainBuffer(), nullptr);
        EXPECT_EQ(item.MainBuffer()->Caps().dwBufferBytes, 600u);
    }
    Waves.Items().FindByName("KIK0").PlayItem(false);
    EXPECT_EQ(Devices.MixLeft(300), Ramp(300));
    Waves.Items().FindByName("kik1").PlayItem(false);
    EXPECT_EQ(Devices.MixLeft(2).back(), -1234);
}

// Guards the checks made before samples are handed to the device: a format block too short to
// hold a format, a format the device cannot play, and a buffer that cannot be locked.
TEST_F(PlayItemTest, UnplayableWavesFailWithTheSoundBufferTexts) {
    Sound.OpenDevice();
    TWaveCollectionItem& item = AddWave(Waves.Items(), "odd", Constant(64, 1));
    item.Wave.Format.resize(12);
    EXPECT_EQ(RestoreFailure(), "Sound Buffer cannot be made");
    item.Wave.Format = PcmFormatBlock(SilentRate, 1, 24);
    EXPECT_EQ(RestoreFailure(), "Sound Buffer cannot be made");
    item.Wave.Format = PcmFormatBlock(SilentRate, 1, 16);
    item.Wave.Format.resize(16);
    EXPECT_EQ(RestoreFailure(), "filled");

    TFaultyDevices faulty;
    faulty.Faults.RefuseLock = true;
    Sound.Library = faulty.Library();
    try {
        Sound.OpenDevice();
        ADD_FAILURE() << "a buffer that cannot be locked was filled";
    } catch (const EGameError& error) {
        EXPECT_STREQ(error.what(), "Sound Buffer cannot be locked");
    }
    EXPECT_FALSE(Sound.Initialized());
}

// Guards waiting on the real output (SDL's dummy driver, which plays in real time): the call
// returns, and only once its copy has stopped.
TEST(PlayItemOnOutput, WaitingReturnsOnceTheCopyHasStopped) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    TTestWindow window;
    TDXSound sound(&window);
    TDXWaveList waves;
    waves.SetDXSound(&sound);
    TWaveCollectionItem& item = AddWave(waves.Items(), "kik5", Constant(1102, 3000), 22050);
    sound.OpenDevice();
    item.PlayItem(true);
    ASSERT_EQ(item.DuplicateCount(), 1);
    EXPECT_FALSE(item.Duplicate(0).Playing());
}
