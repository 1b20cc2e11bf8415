#include "tools/soundgen/Mastering.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double WindowSeconds = 0.050;
constexpr double DcCutoffHz = 25.0;

double ToDb(double level) {
    return 20.0 * std::log10(std::max(level, 1e-9));
}

void RemoveDc(TSound& sound) {
    const double pole = std::exp(-2.0 * std::numbers::pi * DcCutoffHz / EffectSampleRate);
    double previousIn = 0;
    double previousOut = 0;
    for (float& sample : sound.Samples) {
        const double out = sample - previousIn + pole * previousOut;
        previousIn = sample;
        previousOut = out;
        sample = static_cast<float>(out);
    }
}

void FadeEnds(TSound& sound, double fadeIn, double fadeOut) {
    const std::size_t count = sound.Samples.size();
    const auto inSamples = std::min(count, static_cast<std::size_t>(fadeIn * EffectSampleRate));
    const auto outSamples = std::min(count, static_cast<std::size_t>(fadeOut * EffectSampleRate));
    for (std::size_t i = 0; i < inSamples; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(inSamples);
        sound.Samples[i] *= static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * x));
    }
    for (std::size_t i = 0; i < outSamples; ++i) {
        // The last sample lands exactly on zero.
        const double x = static_cast<double>(i) / static_cast<double>(outSamples);
        sound.Samples[count - 1 - i] *=
            static_cast<float>(0.5 - 0.5 * std::cos(std::numbers::pi * x));
    }
}
} // namespace

double LoudnessDb(const std::vector<float>& samples) {
    const auto window = static_cast<std::size_t>(WindowSeconds * EffectSampleRate);
    if (samples.size() < window) {
        return PeakDb(samples) - 3.0;
    }
    double sum = 0;
    for (std::size_t i = 0; i < window; ++i) {
        sum += static_cast<double>(samples[i]) * samples[i];
    }
    double loudest = sum;
    for (std::size_t i = window; i < samples.size(); ++i) {
        sum += static_cast<double>(samples[i]) * samples[i] -
               static_cast<double>(samples[i - window]) * samples[i - window];
        loudest = std::max(loudest, sum);
    }
    return ToDb(std::sqrt(std::max(loudest, 0.0) / static_cast<double>(window)));
}

double PeakDb(const std::vector<float>& samples) {
    float peak = 0;
    for (const float sample : samples) {
        peak = std::max(peak, std::abs(sample));
    }
    return ToDb(peak);
}

void MatchLoudness(TSound& sound, double targetDb, double peakCeilingDb) {
    const double gainDb =
        std::min(targetDb - LoudnessDb(sound.Samples), peakCeilingDb - PeakDb(sound.Samples));
    const auto gain = static_cast<float>(std::pow(10.0, gainDb / 20.0));
    for (float& sample : sound.Samples) {
        sample *= gain;
    }
}

std::vector<std::uint8_t> MasterEffect(TSound sound, double fadeIn, double fadeOut) {
    RemoveDc(sound);
    FadeEnds(sound, fadeIn, fadeOut);
    MatchLoudness(sound, EffectLoudnessDb, EffectPeakCeilingDb);
    std::vector<std::uint8_t> pcm;
    pcm.reserve(sound.Samples.size() * 2);
    for (const float sample : sound.Samples) {
        const auto value =
            static_cast<std::int16_t>(std::clamp(std::lround(sample * 32767.0), -32767L, 32767L));
        pcm.push_back(static_cast<std::uint8_t>(value & 0xFF));
        pcm.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
    return pcm;
}
