#pragma once
// A tune as the composer writes it: a tempo, a metre, a length in ticks and its parts, each
// a General MIDI instrument on one channel with its notes. SongMidiImage turns it into a
// Standard MIDI File.

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint16_t TicksPerQuarter = 480;
constexpr int DrumChannel = 9; // channel 10 as players count

struct TNote {
    std::uint32_t Start = 0;
    std::uint32_t Length = 0;
    int Key = 60;
    int Velocity = 90;
};

struct TPart {
    std::string Name;
    int Channel = 0;
    int Program = 0; // General MIDI, from 0
    int Volume = 100;
    int Pan = 64;
    int Reverb = 40;
    std::vector<TNote> Notes;
};

struct TSong {
    std::string Title;
    double BeatsPerMinute = 120; // quarter notes
    int Numerator = 4;
    int Denominator = 4;
    std::uint32_t Length = 0; // ticks; a whole number of bars
    std::vector<TPart> Parts;

    std::uint32_t BarTicks() const {
        return static_cast<std::uint32_t>(Numerator * 4 * TicksPerQuarter / Denominator);
    }
    double Seconds() const {
        return Length / static_cast<double>(TicksPerQuarter) * 60.0 / BeatsPerMinute;
    }
};

// Format 1: a conductor track (title, metre, tempo), then one track per part that sets its
// instrument, volume, pan and reverb at the start, so every loop begins alike. Every track
// ends exactly at the song's length.
std::vector<std::uint8_t> SongMidiImage(const TSong& song);
