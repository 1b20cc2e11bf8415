// Playing one item: which buffer each start takes and what is heard, mixed frame by frame.

#include "audio/DXSound.h"
#include "audio/DXWaveList.h"
#include "core/GameError.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class PlayItemTest : public ::testing::Test {
protected:
    PlayItemTest() : Sound(&Window) {
        Sound.Library = Devices.Library();
        Waves.SetDXSound(&Sound);
    }

    TTestWindow Window;
    THandMixedDevices Devices;
    TDXSound Sound;
    TDXWaveList Waves;
};
} // namespace

// Guards the cut-off: with two copies allowed and both busy, the third start restarts the
// copy that started first while the younger one plays on. Each mixed frame of a ramp is the
// sum of the copies' positions.
TEST_F(PlayItemTest, ThirdStartOfALimitOfTwoCutsOffTheOldestCopy) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "fall", Ramp(4000));
    item.SetMaxPlayingCount(2);
    Sound.OpenDevice();
    Waves.Playback().PlayItem(item, false);
    Devices.MixLeft(1000);
    Waves.Playback().PlayItem(item, false);
    Devices.MixLeft(1000);
    Waves.Playback().PlayItem(item, false);
    ASSERT_EQ(Waves.Playback().DuplicateCount(item), 2);
    EXPECT_EQ(Devices.MixLeft(1).front(), 1000 + 0);
    Devices.MixLeft(3200);
    EXPECT_FALSE(Waves.Playback().Duplicate(item, 0).Playing());
    EXPECT_TRUE(Waves.Playback().Duplicate(item, 1).Playing());
}

// Guards the unlimited case: five starts in a row sound together on five copies, and a later
// start reuses a finished copy instead of making another.
TEST_F(PlayItemTest, WithoutALimitEveryStartSoundsOnItsOwnCopy) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "kik3", Constant(512, 1000));
    Sound.OpenDevice();
    for (int start = 0; start < 5; ++start) {
        Waves.Playback().PlayItem(item, false);
    }
    ASSERT_EQ(Waves.Playback().DuplicateCount(item), 5);
    EXPECT_EQ(Devices.MixLeft(8).back(), 5000);
    Devices.MixLeft(1024);
    Waves.Playback().PlayItem(item, false);
    EXPECT_EQ(Waves.Playback().DuplicateCount(item), 5);
    EXPECT_EQ(Devices.MixLeft(8).back(), 1000);
}

// Guards the looped item: a second start rewinds its one main buffer, which loops on.
TEST_F(PlayItemTest, LoopedItemRestartsOnItsMainBuffer) {
    TWaveCollectionItem& item = AddWave(Waves.Items(), "drone", Ramp(2000));
    item.Looped = true;
    Sound.OpenDevice();
    Waves.Playback().PlayItem(item, false);
    Devices.MixLeft(1000);
    Waves.Playback().PlayItem(item, false);
    EXPECT_EQ(Devices.MixLeft(1).front(), 0);
    Devices.MixLeft(5000);
    EXPECT_EQ(Devices.MixLeft(1).front(), 5001 % 2000);
    EXPECT_EQ(Waves.Playback().DuplicateCount(item), 0);
}

// Guards loading on an open device: the old items go, every new one is attached and filled
// with the file's samples exactly as they are heard; a wave without samples stays silent.
TEST_F(PlayItemTest, LoadingOnAnOpenDeviceFillsEveryItemFromTheFile) {
    TScratchDirectory directory;
    TWaveCollection written;
    AddWave(written, "kik0", Ramp(300));
    AddWave(written, "gameover", {});
    directory.WriteSoundsFile(written);
    AddWave(Waves.Items(), "stale", Constant(300, 5));
    Sound.OpenDevice();
    Waves.Items().LoadCollectionFile(directory.Path() + "Sounds.dxw");
    ASSERT_EQ(Waves.Items().Count(), 2);
    Waves.Playback().PlayItem(Waves.Items().FindByName("gameover"), false);
    Waves.Playback().PlayItem(Waves.Items().FindByName("KIK0"), false);
    EXPECT_EQ(Devices.MixLeft(300), Ramp(300));
    EXPECT_EQ(Waves.Playback().DuplicateCount(Waves.Items().Items(1)), 0);
}

// Guards the buffers kept by position: once the collection is emptied, an item added in the
// place of an old one never sounds the old one's buffers (it waits, as any item added after
// the device opened does, for the device's next start).
TEST_F(PlayItemTest, AnItemInThePlaceOfAClearedOneNeverSoundsItsBuffers) {
    TWaveCollectionItem& old = AddWave(Waves.Items(), "kik0", Constant(64, 1000));
    Sound.OpenDevice();
    Waves.Playback().PlayItem(old, false);
    Devices.MixLeft(64);
    Waves.Items().Clear();
    TWaveCollectionItem& fresh = AddWave(Waves.Items(), "kik0", Constant(64, 7));
    Waves.Playback().PlayItem(fresh, false);
    EXPECT_EQ(Waves.Playback().MainBuffer(fresh), nullptr);
    EXPECT_EQ(Devices.MixLeft(4).back(), 0);
}

// Guards the checks before samples reach the device: a format block shorter than 16 bytes,
// or a format the device refuses, cannot make a buffer; a bare 16-byte block can.
TEST_F(PlayItemTest, UnusableFormatsCannotMakeASoundBuffer) {
    Sound.OpenDevice();
    TWaveCollectionItem& item = AddWave(Waves.Items(), "odd", Constant(64, 1));
    for (const std::size_t size : {12, 18, 16}) {
        item.Wave.Format = PcmFormatBlock(SilentRate, 1, size == 18 ? 24 : 16);
        item.Wave.Format.resize(size);
        std::string outcome = "made";
        try {
            Waves.Playback().Restore();
        } catch (const EGameError& error) {
            outcome = error.what();
        }
        EXPECT_EQ(outcome, size == 16 ? "made" : "Sound Buffer cannot be made");
    }
}

// Guards waiting on SDL's silent driver, which plays in real time: the call returns, and only
// once its copy has stopped.
TEST(PlayItemOnOutput, WaitingReturnsOnceTheCopyHasStopped) {
    UseAudioDriver("dummy");
    TTestWindow window;
    TDXSound sound(&window);
    TDXWaveList waves;
    waves.SetDXSound(&sound);
    TWaveCollectionItem& item = AddWave(waves.Items(), "kik5", Constant(1102, 3000), 22050);
    sound.OpenDevice();
    waves.Playback().PlayItem(item, true);
    EXPECT_FALSE(waves.Playback().Duplicate(item, 0).Playing());
}
