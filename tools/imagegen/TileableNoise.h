#pragma once
// Smooth fractal value noise that wraps at the edges of the unit square, so textures built
// from it repeat without a visible seam.

#include <cstdint>
#include <vector>

class TTileableNoise {
public:
    // `basePeriod` lattice cells across the square for the coarsest layer; each further octave
    // doubles the cells and multiplies its weight by `persistence`.
    TTileableNoise(std::uint64_t seed, int basePeriod, int octaves, double persistence = 0.5);

    // Noise at (u, v); both coordinates wrap at 1 (any real value is accepted). In [0, 1].
    double At(double u, double v) const;

private:
    struct TOctave {
        int Period;
        double Weight;
        std::vector<float> Lattice; // Period x Period values in [0, 1]
    };
    double Layer(const TOctave& octave, double u, double v) const;

    std::vector<TOctave> Octaves;
    double TotalWeight = 0;
};
