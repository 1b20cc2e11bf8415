#include "tools/soundgen/MidiFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>

namespace {
enum : std::uint8_t { RankMeta = 0, RankSetup = 1, RankNoteOff = 2, RankNoteOn = 3 };
enum : std::uint8_t {
    MetaTrackName = 0x03,
    MetaEndOfTrack = 0x2F,
    MetaTempo = 0x51,
    MetaTimeSignature = 0x58,
};

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void AppendVariableLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
    std::uint8_t groups[5];
    int count = 0;
    do {
        groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
        value >>= 7;
    } while (value != 0);
    while (count > 1) {
        out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
    }
    out.push_back(groups[0]);
}

std::uint8_t DataByte(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 127));
}
} // namespace

void TMidiTrack::Meta(std::uint32_t tick, std::uint8_t type, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> bytes{0xFF, type};
    AppendVariableLength(bytes, static_cast<std::uint32_t>(data.size()));
    bytes.insert(bytes.end(), data.begin(), data.end());
    Events.push_back({tick, RankMeta, std::move(bytes)});
}

void TMidiTrack::Channel(std::uint32_t tick, std::uint8_t rank, std::uint8_t status, int first,
                         int second) {
    Events.push_back({tick, rank, {status, DataByte(first), DataByte(second)}});
}

void TMidiTrack::Channel(std::uint32_t tick, std::uint8_t rank, std::uint8_t status, int first) {
    Events.push_back({tick, rank, {status, DataByte(first)}});
}

void TMidiTrack::TrackName(std::uint32_t tick, std::string_view name) {
    const std::vector<std::uint8_t> data(name.begin(), name.end());
    Meta(tick, MetaTrackName, data);
}

void TMidiTrack::Tempo(std::uint32_t tick, double beatsPerMinute) {
    std::vector<std::uint8_t> data;
    AppendBigEndian(data, static_cast<std::uint32_t>(std::lround(60'000'000.0 / beatsPerMinute)),
                    3);
    Meta(tick, MetaTempo, data);
}

void TMidiTrack::TimeSignature(std::uint32_t tick, int numerator, int denominator) {
    const auto power =
        static_cast<std::uint8_t>(std::countr_zero(static_cast<unsigned>(denominator)));
    // Clocks per metronome click: one click per beat of the denominator; 8 thirty-seconds per
    // quarter.
    const auto clocks = static_cast<std::uint8_t>(96 / denominator);
    const std::uint8_t data[] = {static_cast<std::uint8_t>(numerator), power, clocks, 8};
    Meta(tick, MetaTimeSignature, data);
}

void TMidiTrack::ProgramChange(std::uint32_t tick, int channel, int program) {
    Channel(tick, RankSetup, static_cast<std::uint8_t>(0xC0 | channel), program);
}

void TMidiTrack::Controller(std::uint32_t tick, int channel, int controller, int value) {
    Channel(tick, RankSetup, static_cast<std::uint8_t>(0xB0 | channel), controller, value);
}

void TMidiTrack::NoteOn(std::uint32_t tick, int channel, int key, int velocity) {
    Channel(tick, RankNoteOn, static_cast<std::uint8_t>(0x90 | channel), key,
            std::max(velocity, 1));
}

void TMidiTrack::NoteOff(std::uint32_t tick, int channel, int key) {
    Channel(tick, RankNoteOff, static_cast<std::uint8_t>(0x80 | channel), key, 64);
}

std::vector<std::uint8_t> TMidiTrack::ChunkImage(std::uint32_t endTick) const {
    std::vector<const TEvent*> ordered;
    for (const TEvent& event : Events) {
        if (event.Tick > endTick) {
            throw std::logic_error("MIDI event after the end of its track");
        }
        ordered.push_back(&event);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const TEvent* a, const TEvent* b) {
        return a->Tick != b->Tick ? a->Tick < b->Tick : a->Rank < b->Rank;
    });

    std::vector<std::uint8_t> body;
    std::uint32_t now = 0;
    for (const TEvent* event : ordered) {
        AppendVariableLength(body, event->Tick - now);
        body.insert(body.end(), event->Bytes.begin(), event->Bytes.end());
        now = event->Tick;
    }
    AppendVariableLength(body, endTick - now);
    body.insert(body.end(), {0xFF, MetaEndOfTrack, 0x00});

    std::vector<std::uint8_t> chunk{'M', 'T', 'r', 'k'};
    AppendBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<std::uint8_t> MidiFileImage(std::span<const TMidiTrack> tracks,
                                        std::uint16_t ticksPerQuarter, std::uint32_t endTick) {
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd'};
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, 1, 2);
    AppendBigEndian(file, static_cast<std::uint32_t>(tracks.size()), 2);
    AppendBigEndian(file, ticksPerQuarter, 2);
    for (const TMidiTrack& track : tracks) {
        const auto chunk = track.ChunkImage(endTick);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}
