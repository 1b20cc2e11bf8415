#include "platform/files/TickCount.h"

#include <chrono>

namespace {
std::function<std::uint32_t()> TickCountSource;

std::uint32_t MonotonicMilliseconds() {
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}
} // namespace

std::uint32_t GetTickCount() {
    return TickCountSource ? TickCountSource() : MonotonicMilliseconds();
}

void SetTickCountSource(std::function<std::uint32_t()> source) {
    TickCountSource = std::move(source);
}
