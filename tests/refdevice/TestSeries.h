#pragma once
// A small repeatable number series for the randomised device tests: the same seed draws the
// same scene on every machine and run.

#include <cstdint>

class TSeries {
public:
    explicit TSeries(std::uint32_t seed) : State(seed) {}

    float Next(float low, float high) {
        return low + (high - low) * static_cast<float>(NextBits() >> 8) / 16777216.0f;
    }
    std::uint32_t NextBits() {
        State = State * 1664525u + 1013904223u;
        return State;
    }

private:
    std::uint32_t State;
};
