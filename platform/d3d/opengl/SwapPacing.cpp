#include "platform/d3d/opengl/SwapPacing.h"

namespace {
// Swaps are counted in runs of this many; a run that took less than this share of the
// refreshes between its first and last swap came faster than the display.
constexpr std::uint32_t SwapsCounted = 30;
constexpr double ShareOfRefreshes = 0.9;
} // namespace

TSwapPacing::TSwapPacing(const TPresentTiming& timing)
    : Clock(timing.Clock ? timing.Clock : MakeSteadyPresentClock()),
      Pacer(Clock, timing.RefreshRateHz) {}

void TSwapPacing::AfterSwap() {
    if (Unpaced) {
        Pacer.WaitForRefresh();
        return;
    }
    const std::chrono::nanoseconds now = Clock->Now();
    // A run ends with a pause longer than itself could take (the frames stood still).
    if (!Counting || now - WindowStart > std::int64_t{SwapsCounted} * Pacer.Period()) {
        Counting = true;
        WindowStart = now;
        SwapsInWindow = 0;
    }
    if (++SwapsInWindow < SwapsCounted) {
        return;
    }
    const double refreshes = static_cast<double>(SwapsInWindow - 1) * ShareOfRefreshes;
    Unpaced = static_cast<double>((now - WindowStart).count()) <
              refreshes * static_cast<double>(Pacer.Period().count());
    Counting = false;
}

void TSwapPacing::AfterUnswappedFrame() {
    Pacer.WaitForRefresh();
}
