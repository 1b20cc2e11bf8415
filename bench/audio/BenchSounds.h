#pragma once
// Recordings, a tune and thread clocks for the audio benchmarks.

#include "platform/dsound/DSound.h"

#include <cstdint>
#include <string>
#include <vector>

// The music's output as SDL's audio thread asks for it: 44.1 kHz, 256 frames a pass.
constexpr std::uint32_t MusicRate = 44100;
constexpr std::uint32_t MusicPeriod = 256;

// A buffer of `seconds` of a 440 Hz tone at rate, 16-bit mono, made on device.
TComRef<IDirectSoundBuffer> ToneBuffer(IDirectSound* device, DWORD rate, double seconds);
// A Standard MIDI File: `bars` bars of four-note chords under running eighth notes.
std::vector<std::uint8_t> ChordSong(int bars);
// CPU seconds used so far by this process's threads whose name starts with prefix.
double ThreadCpuSeconds(const std::string& prefix);
// CPU seconds used so far by the whole process.
double ProcessCpuSeconds();
