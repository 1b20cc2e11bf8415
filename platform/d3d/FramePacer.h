#pragma once
// Keeps a device's Present in step with the display where nothing else does (the software
// device always, the hardware device where the swap interval is not honoured), as a swap
// interval of one would: at most one frame per refresh, and none shown before the refresh it
// belongs to. The display gives no refresh signal here, so the refreshes are laid
// on a grid of the display's period, starting at the first Present.

#include <chrono>
#include <memory>

// The time the pacer reads and waits on; a seam for tests, which step time themselves.
class IPresentClock {
public:
    virtual ~IPresentClock() = default;
    // A steady time; only differences count.
    virtual std::chrono::nanoseconds Now() = 0;
    // Returns at `moment` or later.
    virtual void SleepUntil(std::chrono::nanoseconds moment) = 0;
};

// The steady clock of the process, with the calling thread sleeping.
std::shared_ptr<IPresentClock> MakeSteadyPresentClock();

// The refresh rate assumed when the display does not tell its own.
constexpr double FallbackRefreshRateHz = 60.0;

// How a device's Present keeps time with the display.
struct TPresentTiming {
    double RefreshRateHz = 0;             // 0: unknown, paced at FallbackRefreshRateHz
    std::shared_ptr<IPresentClock> Clock; // null: the steady clock
};

class TFramePacer {
public:
    // A rate of 0 or below (unknown), or beyond any display's, paces at the fallback rate.
    TFramePacer(std::shared_ptr<IPresentClock> clock, double refreshRateHz);
    // Paced as `timing` says.
    explicit TFramePacer(const TPresentTiming& timing);

    // Waits for the first refresh after the previous call returned. When a frame took longer
    // than that, the refresh has passed and the call returns at once: the rate falls gently
    // instead of halving. The first call sets the grid and does not wait.
    void WaitForRefresh();

    std::chrono::nanoseconds Period() const { return RefreshPeriod; }

private:
    std::shared_ptr<IPresentClock> Clock;
    std::chrono::nanoseconds RefreshPeriod;
    std::chrono::nanoseconds GridOrigin{0};
    std::chrono::nanoseconds LastReturn{0};
    bool Started = false;
};
