#pragma once
// The last steps every effect goes through before it is stored: no DC offset, ends faded so
// playback starts and stops without a click, loudness matched across effects, 16-bit PCM.

#include "tools/soundgen/Synth.h"

#include <cstdint>
#include <vector>

// The loudest stretch of the sound: the highest RMS level over any 50 ms window, in dB
// relative to full scale. A short kick and a long jingle at the same value sound about
// equally loud.
double LoudnessDb(const std::vector<float>& samples);
double PeakDb(const std::vector<float>& samples);

// Brings the sound to targetDb loudness, or lower if its peak would pass peakCeilingDb.
void MatchLoudness(TSound& sound, double targetDb, double peakCeilingDb);

// Removes DC, fades the ends (seconds), matches the loudness and converts to 16-bit
// little-endian PCM.
std::vector<std::uint8_t> MasterEffect(TSound sound, double fadeIn, double fadeOut);

// The level every effect is brought to, and the ceiling for its peaks (dB full scale).
constexpr double EffectLoudnessDb = -14.0;
constexpr double EffectPeakCeilingDb = -1.0;
