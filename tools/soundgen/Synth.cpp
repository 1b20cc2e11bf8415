#include "tools/soundgen/Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double TwoPi = 2.0 * std::numbers::pi;
constexpr double Nyquist = EffectSampleRate / 2.0;

// Smooth 0..1 ramp: a raised cosine avoids the corner a straight ramp leaves.
double SmoothRamp(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(std::numbers::pi * x);
}

double EnvelopeAt(const TEnvelope& envelope, double t, double length) {
    double level = envelope.Attack > 0 ? SmoothRamp(t / envelope.Attack) : 1.0;
    if (envelope.Decay > 0) {
        level *= std::exp(-t / envelope.Decay);
    }
    if (envelope.Release > 0) {
        level *= SmoothRamp((length - t) / envelope.Release);
    }
    return level;
}

// Exponential glide from one value to another over the given time, then steady.
double GlideAt(double from, double to, double t, double seconds) {
    if (to <= 0 || seconds <= 0) {
        return from;
    }
    const double x = std::min(t / seconds, 1.0);
    return from * std::pow(to / from, x);
}

// Sums harmonics only below the Nyquist frequency, so high notes never alias into noise.
double Additive(TShape shape, double phase, double hz) {
    double sum = 0;
    for (int k = 1; k * hz < Nyquist * 0.9 && k <= 24; ++k) {
        switch (shape) {
        case TShape::Square:
            if (k % 2 == 1) {
                sum += std::sin(k * phase) / k;
            }
            break;
        case TShape::Saw:
            sum += std::sin(k * phase) / k;
            break;
        default:
            if (k % 2 == 1) {
                const double sign = (k / 2) % 2 == 0 ? 1.0 : -1.0;
                sum += sign * std::sin(k * phase) / (k * k);
            }
            break;
        }
    }
    switch (shape) {
    case TShape::Square:
        return sum * (4.0 / std::numbers::pi) * 0.7;
    case TShape::Saw:
        return sum * (2.0 / std::numbers::pi) * 0.7;
    default:
        return sum * 8.0 / (std::numbers::pi * std::numbers::pi);
    }
}

// A band-pass filter whose centre may move every sample without blowing up (a trapezoidal
// state-variable filter).
class TBandPass {
public:
    double Run(double input, double hz, double q) {
        const double g =
            std::tan(std::numbers::pi * std::min(hz, Nyquist * 0.95) / EffectSampleRate);
        const double k = 1.0 / q;
        const double a1 = 1.0 / (1.0 + g * (g + k));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = input - Low;
        const double v1 = a1 * Band + a2 * v3;
        const double v2 = Low + a2 * Band + a3 * v3;
        Band = 2 * v1 - Band;
        Low = 2 * v2 - Low;
        return v1;
    }

private:
    double Band = 0;
    double Low = 0;
};

// White noise in -1..1 from a 32-bit xorshift generator.
class TNoiseSource {
public:
    explicit TNoiseSource(std::uint32_t seed) : State(seed != 0 ? seed : 1) {}
    double Next() {
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return static_cast<double>(State) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t State;
};

// The sample range a note covers, clipped to the sound.
struct TSampleRange {
    std::size_t First = 0;
    std::size_t End = 0;
};

TSampleRange RangeOf(const TSound& sound, double start, double length) {
    const auto first = static_cast<std::size_t>(std::max(0.0, start) * EffectSampleRate);
    const auto end = static_cast<std::size_t>(std::max(0.0, start + length) * EffectSampleRate);
    return {std::min(first, sound.Samples.size()), std::min(end, sound.Samples.size())};
}
} // namespace

TSound::TSound(double seconds)
    : Samples(static_cast<std::size_t>(std::lround(seconds * EffectSampleRate)), 0.0f) {}

double KeyHz(double key) {
    return 440.0 * std::pow(2.0, (key - 69.0) / 12.0);
}

void AddTone(TSound& sound, const TTone& tone) {
    const auto range = RangeOf(sound, tone.Start, tone.Length);
    const double glideSeconds = tone.GlideSeconds > 0 ? tone.GlideSeconds : tone.Length;
    double phase = 0;
    double tremoloPhase = 0;
    for (std::size_t i = range.First; i < range.End; ++i) {
        const double t = static_cast<double>(i - range.First) / EffectSampleRate;
        double hz = GlideAt(tone.FromHz, tone.ToHz, t, glideSeconds);
        if (tone.VibratoCents > 0) {
            hz *= std::pow(2.0, tone.VibratoCents / 1200.0 * std::sin(TwoPi * tone.VibratoHz * t));
        }
        double value = 0;
        switch (tone.Shape) {
        case TShape::Sine:
            value = std::sin(phase);
            break;
        case TShape::Bell: {
            const double index = tone.BellIndex * std::exp(-t / std::max(tone.Length * 0.3, 0.01));
            value = std::sin(phase + index * std::sin(tone.BellRatio * phase));
            break;
        }
        default:
            value = Additive(tone.Shape, phase, hz);
            break;
        }
        double level = EnvelopeAt(tone.Envelope, t, tone.Length) * tone.Gain;
        if (tone.TremoloDepth > 0) {
            const double rate = GlideAt(tone.TremoloFromHz, tone.TremoloToHz, t, tone.Length);
            level *= 1.0 - tone.TremoloDepth * (0.5 - 0.5 * std::cos(tremoloPhase));
            tremoloPhase += TwoPi * rate / EffectSampleRate;
        }
        sound.Samples[i] += static_cast<float>(value * level);
        phase += TwoPi * hz / EffectSampleRate;
    }
}

void AddNoise(TSound& sound, const TNoise& noise) {
    const auto range = RangeOf(sound, noise.Start, noise.Length);
    TNoiseSource source(noise.Seed);
    TBandPass filter;
    // A band-pass filter of quality Q passes about 1/Q of the white noise's power band;
    // scaling by sqrt(Q) keeps narrow and wide bands about equally loud.
    const double loudness = std::sqrt(noise.Q) * 2.0;
    for (std::size_t i = range.First; i < range.End; ++i) {
        const double t = static_cast<double>(i - range.First) / EffectSampleRate;
        const double hz = GlideAt(noise.FromHz, noise.ToHz, t, noise.Length);
        const double value = filter.Run(source.Next(), hz, noise.Q) * loudness;
        sound.Samples[i] +=
            static_cast<float>(value * EnvelopeAt(noise.Envelope, t, noise.Length) * noise.Gain);
    }
}
