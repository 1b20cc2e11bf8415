#include "tools/imagegen/TileableNoise.h"

#include "tools/imagegen/FixedRandom.h"

#include <cmath>

namespace {

// Quintic easing: continuous slope and curvature across cell borders, so no grid shows.
double Ease(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

int Wrap(int index, int period) {
    return ((index % period) + period) % period;
}

} // namespace

TTileableNoise::TTileableNoise(std::uint64_t seed, int basePeriod, int octaves,
                               double persistence) {
    TFixedRandom random(seed);
    double weight = 1;
    int period = basePeriod;
    for (int o = 0; o < octaves; ++o) {
        TOctave octave{period, weight, std::vector<float>(static_cast<size_t>(period * period))};
        for (float& value : octave.Lattice) {
            value = static_cast<float>(random.Unit());
        }
        TotalWeight += weight;
        Octaves.push_back(std::move(octave));
        weight *= persistence;
        period *= 2;
    }
}

double TTileableNoise::Layer(const TOctave& octave, double u, double v) const {
    const double x = (u - std::floor(u)) * octave.Period;
    const double y = (v - std::floor(v)) * octave.Period;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = Ease(x - x0);
    const double fy = Ease(y - y0);
    const auto at = [&](int i, int j) {
        const int index = Wrap(j, octave.Period) * octave.Period + Wrap(i, octave.Period);
        return static_cast<double>(octave.Lattice[static_cast<size_t>(index)]);
    };
    const double top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * fx;
    const double bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * fx;
    return top + (bottom - top) * fy;
}

double TTileableNoise::At(double u, double v) const {
    double sum = 0;
    for (const TOctave& octave : Octaves) {
        sum += octave.Weight * Layer(octave, u, v);
    }
    return sum / TotalWeight;
}
