#pragma once
// Keeps the hardware device at one frame per display refresh whatever the driver does with the
// swap interval. Where the interval is honoured a swap waits for the refresh by itself; where
// it is not (no vsync on a virtual display, a compositor that does not throttle, a driver with
// vsync off) swaps come faster than the display refreshes, and from then on each one is paced
// on the refresh grid as the software device's Present is. Frames that are not swapped at all
// (unchanged, or shown through the device window) always wait for the next refresh.

#include "platform/d3d/FramePacer.h"

#include <chrono>
#include <cstdint>
#include <memory>

class TSwapPacing {
public:
    explicit TSwapPacing(const TPresentTiming& timing);

    // After a swap onto the window.
    void AfterSwap();
    // After a frame that was not swapped.
    void AfterUnswappedFrame();

    // Whether swaps have been seen to come faster than the display refreshes.
    bool SwapsUnpaced() const { return Unpaced; }

private:
    std::shared_ptr<IPresentClock> Clock;
    TFramePacer Pacer;
    std::chrono::nanoseconds WindowStart{0};
    std::uint32_t SwapsInWindow = 0;
    bool Counting = false;
    bool Unpaced = false;
};
