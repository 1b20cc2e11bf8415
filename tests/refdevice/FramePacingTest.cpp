// Present of the software device waits for the display's next refresh, as a swap interval of
// one does; the benchmarks' immediate interval and an offscreen device never wait. The hardware
// device's swaps are paced the same way once they are seen to outrun the display.

#include "tests/refdevice/DeviceFixture.h"

#include "platform/d3d/DeviceWindow.h"
#include "platform/d3d/FramePacer.h"
#include "platform/d3d/opengl/SwapPacing.h"
#include "platform/d3d/reference/ReferenceDevice.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// Time moves only when the test moves it or the pacer sleeps.
class TFakeClock final : public IPresentClock {
public:
    nanoseconds Now() override { return Time; }
    void SleepUntil(nanoseconds moment) override {
        ++Sleeps;
        Time = std::max(Time, moment);
    }
    nanoseconds Time{milliseconds(1000)};
    int Sleeps = 0;
};

class TBlankWindow final : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = 8; }
    void ShowPixels(const std::uint32_t*, UINT, UINT, const TFrameArea*, std::size_t) override {
        ++FramesShown;
    }
    int FramesShown = 0;
};

TComRef<IDirect3DDevice8> MakePacedDevice(TDeviceWindow* window, UINT interval,
                                          const std::shared_ptr<TFakeClock>& clock, double rateHz) {
    D3DPRESENT_PARAMETERS params =
        OffscreenParameters(window != nullptr ? 0 : 8, window != nullptr ? 0 : 8);
    params.hDeviceWindow = window;
    params.FullScreen_PresentationInterval = interval;
    TComRef<IDirect3DDevice8> device;
    EXPECT_EQ(CreateReferenceDevice(params, window, 1, TPresentTiming{rateHz, clock}, device.Put()),
              D3D_OK);
    return device;
}

void PresentBlankFrame(IDirect3DDevice8& device, std::uint32_t color) {
    ASSERT_EQ(device.Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device.Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST(FramePacing, PresentNeverReturnsBeforeTheNextRefresh) {
    auto clock = std::make_shared<TFakeClock>();
    TBlankWindow window;
    auto device = MakePacedDevice(&window, D3DPRESENT_INTERVAL_DEFAULT, clock, 50); // 20 ms
    const nanoseconds start = clock->Time;
    PresentBlankFrame(*device.Get(), 1);
    EXPECT_EQ(clock->Time, start); // the first frame sets the refreshes and is not held

    // Quick frames each wait for their own refresh.
    for (int refresh = 1; refresh <= 3; ++refresh) {
        clock->Time += milliseconds(3);
        PresentBlankFrame(*device.Get(), refresh);
        EXPECT_EQ(clock->Time, start + refresh * milliseconds(20));
    }
    // A frame that took past its refresh goes at once; the next waits for the grid again.
    clock->Time += milliseconds(27); // 87 ms: the refresh at 80 has passed
    PresentBlankFrame(*device.Get(), 5);
    EXPECT_EQ(clock->Time, start + milliseconds(87));
    clock->Time += milliseconds(1);
    PresentBlankFrame(*device.Get(), 6);
    EXPECT_EQ(clock->Time, start + milliseconds(100));
    EXPECT_EQ(window.FramesShown, 6);
}

TEST(FramePacing, AnUnknownRefreshRateIsPacedAtSixtyHertz) {
    for (const double rate : {0.0, -5.0, 1e9}) {
        const TFramePacer pacer(std::make_shared<TFakeClock>(), rate);
        EXPECT_EQ(pacer.Period(), nanoseconds(16666667));
    }
    const TFramePacer pacer(std::make_shared<TFakeClock>(), 144);
    EXPECT_EQ(pacer.Period(), nanoseconds(6944444));
}

TEST(FramePacing, TheImmediateIntervalAndAnOffscreenDeviceNeverWait) {
    auto clock = std::make_shared<TFakeClock>();
    TBlankWindow window;
    auto immediate = MakePacedDevice(&window, D3DPRESENT_INTERVAL_IMMEDIATE, clock, 60);
    auto offscreen = MakePacedDevice(nullptr, D3DPRESENT_INTERVAL_ONE, clock, 60);
    const nanoseconds start = clock->Time;
    for (int frame = 0; frame < 10; ++frame) {
        PresentBlankFrame(*immediate.Get(), static_cast<std::uint32_t>(frame));
        PresentBlankFrame(*offscreen.Get(), static_cast<std::uint32_t>(frame));
    }
    EXPECT_EQ(clock->Sleeps, 0);
    EXPECT_EQ(clock->Time, start);
    EXPECT_EQ(window.FramesShown, 10);
}

} // namespace

// Guards the two ways a driver treats the swap interval: swaps that wait for the refresh by
// themselves are never made to wait again (that would halve the frame rate), swaps that come
// at once are paced after the first run of them, and a frame not swapped always waits.
TEST(SwapPacing, PacesOnlySwapsThatOutrunTheDisplay) {
    constexpr double RateHz = 50; // 20 ms a refresh
    const auto honoured = std::make_shared<TFakeClock>();
    TSwapPacing vsync(TPresentTiming{RateHz, honoured});
    for (int swap = 0; swap < 100; ++swap) {
        honoured->Time += milliseconds(20); // the swap waited for the refresh
        vsync.AfterSwap();
    }
    EXPECT_FALSE(vsync.SwapsUnpaced());
    EXPECT_EQ(honoured->Sleeps, 0);
    vsync.AfterUnswappedFrame();
    vsync.AfterUnswappedFrame();
    EXPECT_EQ(honoured->Sleeps, 1); // the first call sets the grid

    const auto ignored = std::make_shared<TFakeClock>();
    TSwapPacing free(TPresentTiming{RateHz, ignored});
    for (int swap = 0; swap < 40; ++swap) {
        ignored->Time += milliseconds(2);
        free.AfterSwap();
    }
    EXPECT_TRUE(free.SwapsUnpaced());
    const nanoseconds before = ignored->Time;
    for (int swap = 0; swap < 10; ++swap) {
        free.AfterSwap();
    }
    EXPECT_GE(ignored->Time - before, milliseconds(9 * 20));
}
