// The sound device owner: the order its listeners hear events in, how opening fails, and how
// a lost buffer is refilled.

#include "audio/DXSound.h"
#include "audio/DXWaveList.h"
#include "core/GameError.h"
#include "tests/audio/PlaybackSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
std::string EventName(TDXSoundNotifyType type) {
    switch (type) {
    case TDXSoundNotifyType::Destroying:
        return "destroying";
    case TDXSoundNotifyType::Initializing:
        return "initializing";
    case TDXSoundNotifyType::Initialize:
        return "initialize";
    case TDXSoundNotifyType::Finalize:
        return "finalize";
    case TDXSoundNotifyType::Restore:
        return "restore";
    }
    return "?";
}

std::string OpenFailure(TDXSound& sound) {
    try {
        sound.OpenDevice();
    } catch (const EGameError& error) {
        return error.what();
    }
    return "opened";
}
} // namespace

// Guards the listener order (newest first, published events after the listeners), that
// finalize is heard only once, and that an unregistered listener hears nothing more.
TEST(DXSound, ListenersHearEveryEventNewestFirstAndThePublishedEventsAfterThem) {
    TTestWindow window;
    TSilentDevices devices;
    std::vector<std::string> heard;
    const std::vector<std::string> owners{"a", "b", "c", "gone"};
    {
        TDXSound sound(&window);
        sound.Library = devices.Library();
        for (const std::string& owner : owners) {
            sound.RegisterNotifyEvent(&owner, [&heard, &owner](TDXSound&, TDXSoundNotifyType type) {
                heard.push_back(owner + ":" + EventName(type));
            });
        }
        sound.UnRegisterNotifyEvent(&owners[3]);
        const auto record = [&heard](const char* name) {
            return [&heard, name](TDXSound&) { heard.emplace_back(name); };
        };
        sound.OnInitializing = record("OnInitializing");
        sound.OnInitialize = record("OnInitialize");
        sound.OnFinalize = record("OnFinalize");
        sound.OnRestore = record("OnRestore");
        sound.OpenDevice();
        EXPECT_TRUE(sound.Initialized());
        sound.CloseDevice();
        sound.CloseDevice();
    }
    const std::vector<std::string> expected{
        "c:initializing", "b:initializing", "a:initializing", "OnInitializing", "c:initialize",
        "b:initialize",   "a:initialize",   "OnInitialize",   "c:restore",      "b:restore",
        "a:restore",      "OnRestore",      "OnFinalize",     "c:finalize",     "b:finalize",
        "a:finalize",     "c:destroying",   "b:destroying",   "a:destroying"};
    EXPECT_EQ(heard, expected);
}

// Guards each opening step's text and that a failed opening leaves nothing open: the device
// is closed, the wave list's items stay silent, and a later opening that can succeed does.
TEST(DXSound, FailedOpeningsNameTheirStepAndLeaveTheDeviceClosed) {
    TTestWindow window;
    TFaultyDevices faulty;
    faulty.Faults.RefusePrimary = true;
    const TDirectSoundCreate refusing = [](const GUID*, IDirectSound** made, IUnknown*) {
        *made = nullptr;
        return DSERR_NODRIVER;
    };
    struct TCase {
        HWND Form;
        TSoundLibrary Library;
        std::string Text;
    };
    const std::vector<TCase> cases{
        {nullptr, PlatformSoundLibrary(), "Form not found"},
        {&window, {"DSound.dll", nullptr}, "DSound.dll not loaded"},
        {&window, {"DSound.dll", refusing}, "DirectSound cannot be initialized"},
        {&window, faulty.Library(), "Primary Buffer cannot be made"},
    };
    for (const TCase& failing : cases) {
        SCOPED_TRACE(failing.Text);
        TDXSound sound(failing.Form);
        sound.Library = failing.Library;
        TDXWaveList waves;
        waves.SetDXSound(&sound);
        AddWave(waves.Items(), "kik0", Constant(64, 1000));
        EXPECT_EQ(OpenFailure(sound), failing.Text);
        EXPECT_FALSE(sound.Initialized());
        EXPECT_EQ(sound.DSound(), nullptr);
        EXPECT_EQ(sound.Primary(), nullptr);
        waves.Items().Items(0).PlayItem(false);
        EXPECT_FALSE(waves.Items().Items(0).Initialized());
        EXPECT_EQ(waves.Items().Items(0).DuplicateCount(), 0);
    }
    faulty.Faults.RefusePrimary = false;
    TDXSound sound(&window);
    sound.Library = faulty.Library();
    EXPECT_EQ(OpenFailure(sound), "opened");
    EXPECT_EQ(sound.Primary()->Format().nChannels, 2);
}

// Guards the refill on a lost buffer: one refill of every item per loss, and none started
// from inside a refill (which would recurse without end, as refilling reports the loss again).
TEST(DXSound, ALostBufferRefillsEveryBufferOnceWithoutReentering) {
    TTestWindow window;
    TFaultyDevices faulty;
    TDXSound sound(&window);
    sound.Library = faulty.Library();
    int restores = 0;
    sound.OnRestore = [&restores](TDXSound&) { ++restores; };
    TDXWaveList waves;
    waves.SetDXSound(&sound);
    AddWave(waves.Items(), "kik0", Constant(64, 1000));
    AddWave(waves.Items(), "kik1", Constant(64, 2000));
    sound.OpenDevice();
    ASSERT_EQ(restores, 1);
    TDirectSoundBuffer* const firstMain = waves.Items().Items(0).MainBuffer();

    faulty.Faults.ReportLost = true;
    waves.Items().Items(1).PlayItem(false);
    EXPECT_EQ(restores, 2);
    EXPECT_EQ(waves.Items().Items(0).MainBuffer(), firstMain);
    EXPECT_TRUE(waves.Items().Items(0).MainBuffer()->Made());

    faulty.Faults.ReportLost = false;
    waves.Items().Items(0).PlayItem(false);
    EXPECT_EQ(restores, 2);
    EXPECT_TRUE(waves.Items().Items(0).Duplicate(0).Playing());
}

// Guards against buffers outliving their device: whichever of the two goes first, the items
// end up silent and uninitialized, and nothing is used after it is freed.
TEST(DXSound, DeviceAndWaveListMayGoInEitherOrder) {
    TTestWindow window;
    TSilentDevices devices;
    {
        TDXWaveList waves;
        AddWave(waves.Items(), "life", Constant(4096, 1000));
        {
            TDXSound sound(&window);
            sound.Library = devices.Library();
            waves.SetDXSound(&sound);
            sound.OpenDevice();
            waves.Items().Items(0).PlayItem(false);
            ASSERT_TRUE(waves.Items().Items(0).Duplicate(0).Playing());
        }
        EXPECT_EQ(waves.DXSound(), nullptr);
        EXPECT_FALSE(waves.Items().Items(0).Initialized());
        EXPECT_EQ(waves.Items().Items(0).DuplicateCount(), 0);
        EXPECT_EQ(devices.MixLeft(16), std::vector<std::int16_t>(16, 0));
    }
    TDXSound sound(&window);
    sound.Library = devices.Library();
    {
        TDXWaveList waves;
        waves.SetDXSound(&sound);
        AddWave(waves.Items(), "life", Constant(4096, 1000));
        sound.OpenDevice();
        waves.Items().Items(0).PlayItem(false);
    }
    EXPECT_EQ(devices.MixLeft(16), std::vector<std::int16_t>(16, 0));
    sound.CloseDevice();
    sound.OpenDevice();
    EXPECT_TRUE(sound.Initialized());
}

// Guards closing and opening again: closing silences and frees every buffer, a new opening
// attaches and fills the collection on the new device.
TEST(DXSound, ReopeningTheDeviceRefillsTheCollection) {
    TTestWindow window;
    TSilentDevices devices;
    TDXSound sound(&window);
    sound.Library = devices.Library();
    TDXWaveList waves;
    waves.SetDXSound(&sound);
    TWaveCollectionItem& item = AddWave(waves.Items(), "speed", Constant(4096, 700));
    sound.OpenDevice();
    item.PlayItem(false);
    EXPECT_EQ(devices.MixLeft(4).back(), 700);

    sound.CloseDevice();
    EXPECT_FALSE(item.Initialized());
    EXPECT_EQ(item.MainBuffer(), nullptr);
    EXPECT_EQ(devices.MixLeft(4).back(), 0);

    sound.OpenDevice();
    ASSERT_TRUE(item.Initialized());
    ASSERT_NE(item.MainBuffer(), nullptr);
    EXPECT_EQ(item.MainBuffer()->Caps().dwBufferBytes, item.Wave.Samples.size());
    item.PlayItem(false);
    EXPECT_EQ(devices.MixLeft(4).back(), 700);
}
