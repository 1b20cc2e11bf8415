#pragma once
// A Standard MIDI File writer (format 1): one track chunk per TMidiTrack, events in time
// order, every track closed by its end-of-track event at the same tick.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class TMidiTrack {
public:
    void TrackName(std::uint32_t tick, std::string_view name);
    void Tempo(std::uint32_t tick, double beatsPerMinute);
    void TimeSignature(std::uint32_t tick, int numerator, int denominator);
    void ProgramChange(std::uint32_t tick, int channel, int program);
    void Controller(std::uint32_t tick, int channel, int controller, int value);
    void NoteOn(std::uint32_t tick, int channel, int key, int velocity);
    void NoteOff(std::uint32_t tick, int channel, int key);

    // The "MTrk" chunk. At one tick, meta events come first, then set-up messages, then
    // note-offs before note-ons, so a repeated key is released before it sounds again.
    // Throws std::logic_error if an event lies after endTick.
    std::vector<std::uint8_t> ChunkImage(std::uint32_t endTick) const;

private:
    struct TEvent {
        std::uint32_t Tick;
        std::uint8_t Rank;
        std::vector<std::uint8_t> Bytes;
    };
    void Meta(std::uint32_t tick, std::uint8_t type, std::span<const std::uint8_t> data);
    void Channel(std::uint32_t tick, std::uint8_t rank, std::uint8_t status, int first, int second);
    void Channel(std::uint32_t tick, std::uint8_t rank, std::uint8_t status, int first);

    std::vector<TEvent> Events;
};

// The whole file: the "MThd" header (format 1, the track count, ticks per quarter note)
// and every track, each ending at endTick.
std::vector<std::uint8_t> MidiFileImage(std::span<const TMidiTrack> tracks,
                                        std::uint16_t ticksPerQuarter, std::uint32_t endTick);
