#pragma once
// A Standard MIDI File read into memory and checked once, on the user-interface thread,
// before the player sees it: its length (the tick of its last event in any track) and its
// tempo map, which turns milliseconds into ticks.

#include <cstdint>
#include <optional>
#include <vector>

struct TTempoChange {
    std::uint32_t Tick = 0;
    std::uint32_t MicrosecondsPerQuarter = 0;
};

struct TMidiSong {
    std::vector<std::uint8_t> Bytes;
    std::uint16_t Division = 0;       // ticks a quarter note, or SMPTE frames and ticks
    std::uint32_t EndTick = 0;        // where the song is over
    std::vector<TTempoChange> Tempos; // in tick order

    // The tick playing after that many milliseconds from the start.
    std::uint32_t TickAtMilliseconds(std::uint32_t milliseconds) const;
};

// Larger files are refused rather than read: no tune of the game comes near.
constexpr std::size_t MaxMidiFileBytes = 16u << 20;

// Empty when the bytes are not a well-formed file with at least one tick of music: a
// truncated chunk or event, fewer tracks than announced, an unknown status byte, a zero
// tempo or division (SMPTE timing with no ticks a frame included).
std::optional<TMidiSong> ReadMidiSong(std::vector<std::uint8_t> bytes);
