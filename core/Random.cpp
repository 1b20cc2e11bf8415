#include "core/Random.h"

#include <chrono>

std::uint32_t RandSeed = 0;

namespace {
constexpr std::uint32_t Multiplier = 134775813u;

std::uint32_t NextSeed() {
    RandSeed = RandSeed * Multiplier + 1u;
    return RandSeed;
}
} // namespace

void Randomize() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    RandSeed = static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

std::uint32_t RandomInt(std::uint32_t range) {
    const std::uint64_t product = static_cast<std::uint64_t>(NextSeed()) * range;
    return static_cast<std::uint32_t>(product >> 32);
}

double RandomReal() {
    return static_cast<double>(NextSeed()) * (1.0 / 4294967296.0);
}
