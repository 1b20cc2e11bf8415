#include "platform/d3d/FramePacer.h"

#include <cmath>
#include <thread>

namespace {

constexpr double FastestRefreshRateHz = 1000.0;

class TSteadyPresentClock final : public IPresentClock {
public:
    std::chrono::nanoseconds Now() override {
        return std::chrono::steady_clock::now().time_since_epoch();
    }
    void SleepUntil(std::chrono::nanoseconds moment) override {
        std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(moment)));
    }
};

std::chrono::nanoseconds PeriodOf(double refreshRateHz) {
    const bool plausible =
        std::isfinite(refreshRateHz) && refreshRateHz > 0 && refreshRateHz <= FastestRefreshRateHz;
    const double rate = plausible ? refreshRateHz : FallbackRefreshRateHz;
    return std::chrono::nanoseconds(std::llround(1e9 / rate));
}

} // namespace

std::shared_ptr<IPresentClock> MakeSteadyPresentClock() {
    return std::make_shared<TSteadyPresentClock>();
}

TFramePacer::TFramePacer(std::shared_ptr<IPresentClock> clock, double refreshRateHz)
    : Clock(std::move(clock)), RefreshPeriod(PeriodOf(refreshRateHz)) {}

TFramePacer::TFramePacer(const TPresentTiming& timing)
    : TFramePacer(timing.Clock ? timing.Clock : MakeSteadyPresentClock(), timing.RefreshRateHz) {}

void TFramePacer::WaitForRefresh() {
    const std::chrono::nanoseconds now = Clock->Now();
    if (!Started) {
        Started = true;
        GridOrigin = now;
        LastReturn = now;
        return;
    }
    const auto refreshesBefore = (LastReturn - GridOrigin) / RefreshPeriod;
    const std::chrono::nanoseconds nextRefresh = GridOrigin + (refreshesBefore + 1) * RefreshPeriod;
    if (now < nextRefresh) {
        Clock->SleepUntil(nextRefresh);
        LastReturn = Clock->Now();
    } else {
        LastReturn = now;
    }
}
