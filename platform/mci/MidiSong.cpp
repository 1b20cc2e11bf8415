#include "platform/mci/MidiSong.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::uint32_t DefaultMicrosecondsPerQuarter = 500000; // 120 beats a minute
constexpr std::uint64_t MaxTick = std::numeric_limits<std::int32_t>::max();
constexpr std::uint8_t MetaEvent = 0xFF;
constexpr std::uint8_t MetaTempo = 0x51;
constexpr std::uint8_t MetaEndOfTrack = 0x2F;

// Reads inside [At, End) only; every read says whether the bytes were there.
struct TCursor {
    const std::uint8_t* At;
    const std::uint8_t* End;

    bool Byte(std::uint8_t& value) {
        if (At == End) {
            return false;
        }
        value = *At++;
        return true;
    }
    bool Skip(std::uint64_t count) {
        if (count > static_cast<std::uint64_t>(End - At)) {
            return false;
        }
        At += count;
        return true;
    }
    bool BigEndian(int bytes, std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < bytes; ++i) {
            std::uint8_t next = 0;
            if (!Byte(next)) {
                return false;
            }
            value = (value << 8) | next;
        }
        return true;
    }
    // A variable-length quantity: at most four bytes, seven bits each.
    bool VarLen(std::uint32_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            std::uint8_t next = 0;
            if (!Byte(next)) {
                return false;
            }
            value = (value << 7) | (next & 0x7Fu);
            if ((next & 0x80u) == 0) {
                return true;
            }
        }
        return false;
    }
};

bool ReadMetaEvent(TCursor& track, std::uint64_t tick, TMidiSong& song, bool& trackEnded) {
    std::uint8_t type = 0;
    std::uint32_t length = 0;
    if (!track.Byte(type) || !track.VarLen(length)) {
        return false;
    }
    if (type == MetaTempo && length == 3) {
        std::uint32_t tempo = 0;
        if (!track.BigEndian(3, tempo) || tempo == 0) {
            return false;
        }
        song.Tempos.push_back({static_cast<std::uint32_t>(tick), tempo});
        return true;
    }
    trackEnded = type == MetaEndOfTrack;
    return track.Skip(length);
}

// Walks one track's events; the song ends at the latest last event of any track.
bool ReadTrack(TCursor track, TMidiSong& song) {
    std::uint64_t tick = 0;
    std::uint8_t running = 0;
    bool trackEnded = false;
    while (track.At != track.End && !trackEnded) {
        std::uint32_t delta = 0;
        std::uint8_t status = 0;
        if (!track.VarLen(delta) || !track.Byte(status)) {
            return false;
        }
        tick += delta;
        if (tick > MaxTick) {
            return false;
        }
        if (status < 0x80) { // running status: the byte read was the first data byte
            if (running == 0) {
                return false;
            }
            --track.At;
            status = running;
        }
        if (status == MetaEvent) {
            running = 0;
            if (!ReadMetaEvent(track, tick, song, trackEnded)) {
                return false;
            }
        } else if (status == 0xF0 || status == 0xF7) { // system exclusive
            running = 0;
            std::uint32_t length = 0;
            if (!track.VarLen(length) || !track.Skip(length)) {
                return false;
            }
        } else if (status > 0xF0) {
            return false; // real-time and common messages have no place in a file
        } else {
            running = status;
            const int dataBytes = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            if (!track.Skip(static_cast<std::uint64_t>(dataBytes))) {
                return false;
            }
        }
        song.EndTick = std::max(song.EndTick, static_cast<std::uint32_t>(tick));
    }
    return true;
}
// A division of no ticks, a quarter note's or (SMPTE timing) a frame's, would keep the song
// at its first tick for ever: it would never reach its end to loop.
bool KeepsTime(std::uint32_t division) {
    return (division & 0x8000u) != 0 ? (division & 0xFFu) != 0 : division != 0;
}
} // namespace

std::optional<TMidiSong> ReadMidiSong(std::vector<std::uint8_t> bytes) {
    if (bytes.size() > MaxMidiFileBytes) {
        return std::nullopt;
    }
    TMidiSong song;
    TCursor file{bytes.data(), bytes.data() + bytes.size()};
    std::uint32_t id = 0;
    std::uint32_t length = 0;
    std::uint32_t format = 0;
    std::uint32_t trackCount = 0;
    std::uint32_t division = 0;
    if (!file.BigEndian(4, id) || id != 0x4D546864 /* MThd */ || !file.BigEndian(4, length) ||
        length < 6 || !file.BigEndian(2, format) || !file.BigEndian(2, trackCount) ||
        !file.BigEndian(2, division) || !file.Skip(length - 6) || format > 2 ||
        !KeepsTime(division)) {
        return std::nullopt;
    }
    song.Division = static_cast<std::uint16_t>(division);
    std::uint32_t tracksRead = 0;
    while (file.At != file.End) {
        if (!file.BigEndian(4, id) || !file.BigEndian(4, length)) {
            return std::nullopt;
        }
        const TCursor chunk{file.At, file.At + std::min<std::uint64_t>(length, file.End - file.At)};
        if (!file.Skip(length)) {
            return std::nullopt;
        }
        if (id == 0x4D54726B /* MTrk */) {
            if (!ReadTrack(chunk, song)) {
                return std::nullopt;
            }
            ++tracksRead;
        }
    }
    // Fewer tracks than the header announces: the file was cut at a chunk's end.
    if (tracksRead == 0 || tracksRead < trackCount || song.EndTick == 0) {
        return std::nullopt;
    }
    std::stable_sort(song.Tempos.begin(), song.Tempos.end(),
                     [](const TTempoChange& a, const TTempoChange& b) { return a.Tick < b.Tick; });
    song.Bytes = std::move(bytes);
    return song;
}

std::uint32_t TMidiSong::TickAtMilliseconds(std::uint32_t milliseconds) const {
    std::uint64_t ticks = 0;
    if ((Division & 0x8000u) != 0) {
        // SMPTE: frames a second (stored negated) times ticks a frame.
        const auto framesPerSecond =
            static_cast<std::uint64_t>(-static_cast<std::int8_t>(Division >> 8));
        ticks = std::uint64_t{milliseconds} * framesPerSecond * (Division & 0xFFu) / 1000;
    } else {
        const std::uint64_t wanted = std::uint64_t{milliseconds} * 1000; // microseconds
        std::uint64_t elapsed = 0;
        std::uint32_t tempo = DefaultMicrosecondsPerQuarter;
        for (const TTempoChange& change : Tempos) {
            const std::uint64_t span = (change.Tick - ticks) * tempo / Division;
            if (elapsed + span >= wanted) {
                break;
            }
            elapsed += span;
            ticks = change.Tick;
            tempo = change.MicrosecondsPerQuarter;
        }
        ticks += (wanted - elapsed) * Division / tempo;
    }
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(ticks, MaxTick));
}
