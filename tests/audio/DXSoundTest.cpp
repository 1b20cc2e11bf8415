// The sound device owner: the order its listeners hear events in, how opening fails, how a
// lost buffer is refilled, and that the wave list follows the device closing and going.

#include "audio/DXSound.h"
#include "audio/DXWaveList.h"
#include "core/GameError.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::string OpenFailure(TDXSound& sound) {
    try {
        sound.OpenDevice();
    } catch (const EGameError& error) {
        return error.what();
    }
    return "opened";
}
} // namespace

// Guards the order (newest listener first, published events after the listeners), that a
// second close is silent, and that an unregistered listener hears nothing.
TEST(DXSound, ListenersHearEveryEventNewestFirstAndThePublishedEventsAfterThem) {
    TTestWindow window;
    THandMixedDevices devices;
    std::string heard;
    const std::vector<char> owners{'a', 'b', 'c', 'x'};
    {
        TDXSound sound(&window);
        sound.Library = devices.Library();
        for (const char& owner : owners) {
            sound.RegisterNotifyEvent(&owner, [&heard, &owner](TDXSound&, TDXSoundNotifyType t) {
                heard += owner + std::to_string(static_cast<int>(t));
            });
        }
        sound.UnRegisterNotifyEvent(&owners[3]);
        sound.OnInitializing = [&heard](TDXSound&) { heard += " OnInitializing "; };
        sound.OnInitialize = [&heard](TDXSound&) { heard += " OnInitialize "; };
        sound.OnRestore = [&heard](TDXSound&) { heard += " OnRestore "; };
        sound.OnFinalize = [&heard](TDXSound&) { heard += " OnFinalize "; };
        sound.OpenDevice();
        sound.CloseDevice();
        sound.CloseDevice();
    }
    // Destroying 0, initializing 1, initialize 2, finalize 3, restore 4.
    EXPECT_EQ(heard, "c1b1a1 OnInitializing c2b2a2 OnInitialize c4b4a4 OnRestore  OnFinalize "
                     "c3b3a3c0b0a0");
}

// Guards each opening step's text and that a failed opening leaves nothing open or playable.
TEST(DXSound, FailedOpeningsNameTheirStepAndLeaveTheDeviceClosed) {
    TTestWindow window;
    const TDirectSoundCreate refusing = [](const GUID*, IDirectSound**, IUnknown*) {
        return DSERR_NODRIVER;
    };
    struct TCase {
        HWND Form;
        TSoundLibrary Library;
        std::string Text;
    } const cases[]{{nullptr, PlatformSoundLibrary(), "Form not found"},
                    {&window, {"DSound.dll", nullptr}, "DSound.dll not loaded"},
                    {&window, {"DSound.dll", refusing}, "DirectSound cannot be initialized"}};
    for (const TCase& failing : cases) {
        TDXSound sound(failing.Form);
        sound.Library = failing.Library;
        TDXWaveList waves;
        waves.SetDXSound(&sound);
        TWaveCollectionItem& item = AddWave(waves.Items(), "kik0", Constant(64, 1000));
        EXPECT_EQ(OpenFailure(sound), failing.Text);
        EXPECT_FALSE(sound.Initialized());
        EXPECT_EQ(sound.DSound(), nullptr);
        waves.Playback().PlayItem(item, false);
        EXPECT_EQ(waves.Playback().DuplicateCount(item), 0);
    }
}

// Guards the refill on a lost buffer: one refill per loss, and none started from inside a
// refill (which reports the loss again, so it would recurse without end).
TEST(DXSound, ALostBufferRefillsEveryBufferOnceWithoutReentering) {
    TTestWindow window;
    THandMixedDevices devices;
    TDXSound sound(&window);
    sound.Library = devices.Library();
    int restores = 0;
    sound.OnRestore = [&restores](TDXSound&) { ++restores; };
    TDXWaveList waves;
    waves.SetDXSound(&sound);
    AddWave(waves.Items(), "kik0", Constant(64, 1000));
    AddWave(waves.Items(), "kik1", Constant(64, 2000));
    sound.OpenDevice();
    devices.ReportLost = true;
    waves.Playback().PlayItem(waves.Items().Items(1), false);
    EXPECT_EQ(restores, 2);
    devices.ReportLost = false;
    waves.Playback().PlayItem(waves.Items().Items(0), false);
    EXPECT_EQ(restores, 2);
    EXPECT_EQ(devices.MixLeft(2).back(), 3000);
}

// Guards the wave list following its device: closing silences and frees every buffer, opening
// again fills them on the new device, and a device that goes first leaves the items silent
// with nothing of it in use.
TEST(DXSound, TheWaveListFollowsTheDeviceClosingReopeningAndGoing) {
    TTestWindow window;
    THandMixedDevices devices;
    TDXWaveList waves;
    TWaveCollectionItem& item = AddWave(waves.Items(), "speed", Constant(4096, 700));
    {
        TDXSound sound(&window);
        sound.Library = devices.Library();
        waves.SetDXSound(&sound);
        sound.OpenDevice();
        waves.Playback().PlayItem(item, false);
        sound.CloseDevice();
        EXPECT_EQ(waves.Playback().MainBuffer(item), nullptr);
        EXPECT_EQ(devices.MixLeft(4).back(), 0);
        sound.OpenDevice();
        ASSERT_NE(waves.Playback().MainBuffer(item), nullptr);
        EXPECT_EQ(waves.Playback().MainBuffer(item)->Caps().dwBufferBytes, 8192u);
        waves.Playback().PlayItem(item, false);
        EXPECT_EQ(devices.MixLeft(4).back(), 700);
    }
    EXPECT_EQ(waves.DXSound(), nullptr);
    EXPECT_FALSE(waves.Playback().Initialized(item));
    EXPECT_EQ(devices.MixLeft(4).back(), 0);
}
