#pragma once
// The generator's own pseudo-random source for noise, sparkles and scattered detail. It is
// seeded with a constant by each picture, so every build draws exactly the same pictures; it
// is deliberately independent of the game's process-wide generator, which is seeded from the
// clock.

#include <cstdint>

class TFixedRandom {
public:
    explicit TFixedRandom(std::uint64_t seed) : State(seed) {}

    // The next 64 random bits (a splitting-mix step: every state gives a well-mixed output).
    std::uint64_t NextBits() {
        State += 0x9E3779B97F4A7C15ull;
        std::uint64_t z = State;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A real number in [0, 1).
    double Unit() { return static_cast<double>(NextBits() >> 11) * 0x1.0p-53; }

    // A real number in [low, high).
    double Between(double low, double high) { return low + (high - low) * Unit(); }

    // A point spread evenly over [left, right) x [top, bottom); x is drawn first.
    template <typename TPoint>
    TPoint PointIn(double left, double top, double right, double bottom) {
        const double x = Between(left, right);
        const double y = Between(top, bottom);
        return TPoint(x, y);
    }

    // An integer in [0, range); range must be positive.
    int Below(int range) {
        return static_cast<int>(NextBits() % static_cast<std::uint64_t>(range));
    }

private:
    std::uint64_t State;
};
