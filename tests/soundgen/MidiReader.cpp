#include "MidiReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
class TCursor {
public:
    TCursor(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end)
        : Bytes(bytes), At(begin), End(end) {
        if (end > bytes.size()) {
            throw std::runtime_error("chunk runs past the file");
        }
    }
    bool AtEnd() const { return At == End; }
    std::size_t Position() const { return At; }
    std::uint8_t Byte() {
        Take(1);
        return Bytes[At - 1];
    }
    std::uint32_t BigEndian(int count) {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            value = (value << 8) | Byte();
        }
        return value;
    }
    std::uint32_t VariableLength() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint8_t b = Byte();
            value = (value << 7) | (b & 0x7F);
            if ((b & 0x80) == 0) {
                return value;
            }
        }
        throw std::runtime_error("variable-length number longer than four bytes");
    }
    std::vector<std::uint8_t> Take(std::size_t count) {
        if (At + count > End) {
            throw std::runtime_error("MIDI data runs past its chunk");
        }
        At += count;
        return {Bytes.begin() + static_cast<std::ptrdiff_t>(At - count),
                Bytes.begin() + static_cast<std::ptrdiff_t>(At)};
    }

private:
    const std::vector<std::uint8_t>& Bytes;
    std::size_t At;
    std::size_t End;
};

bool IsEndOfTrack(const TMidiRecord& event) {
    return event.Status == 0xFF && event.MetaType == 0x2F && event.Data.empty();
}

TMidiTrackRecord ParseTrack(TCursor& chunk) {
    TMidiTrackRecord track;
    std::uint32_t now = 0;
    std::uint8_t running = 0;
    while (!chunk.AtEnd()) {
        if (!track.Events.empty() && IsEndOfTrack(track.Events.back())) {
            throw std::runtime_error("events after the end of track");
        }
        TMidiRecord event;
        event.Tick = now += chunk.VariableLength();
        event.Status = chunk.Byte();
        if (event.Status == 0xFF) {
            event.MetaType = chunk.Byte();
            event.Data = chunk.Take(chunk.VariableLength());
        } else {
            std::vector<std::uint8_t> data;
            if ((event.Status & 0x80) == 0) { // running status: this was the first data byte
                data.push_back(event.Status);
                event.Status = running;
            }
            if (event.Status < 0x80 || event.Status >= 0xF0) {
                throw std::runtime_error("no channel status for a data byte");
            }
            running = event.Status;
            const std::size_t count = (event.Status & 0xE0) == 0xC0 ? 1 : 2;
            const auto rest = chunk.Take(count - data.size());
            data.insert(data.end(), rest.begin(), rest.end());
            event.Data = data;
        }
        track.Events.push_back(std::move(event));
    }
    if (track.Events.empty() || !IsEndOfTrack(track.Events.back())) {
        throw std::runtime_error("track does not end with its end-of-track event");
    }
    return track;
}
} // namespace

TMidiFileRecord ParseMidiFile(const std::vector<std::uint8_t>& bytes) {
    TCursor file(bytes, 0, bytes.size());
    if (file.BigEndian(4) != 0x4D546864 || file.BigEndian(4) != 6) {
        throw std::runtime_error("no MThd header of six bytes");
    }
    TMidiFileRecord result;
    result.Format = static_cast<int>(file.BigEndian(2));
    const std::uint32_t trackCount = file.BigEndian(2);
    result.Division = static_cast<int>(file.BigEndian(2));
    for (std::uint32_t i = 0; i < trackCount; ++i) {
        if (file.BigEndian(4) != 0x4D54726B) {
            throw std::runtime_error("track chunk is not MTrk");
        }
        const std::uint32_t length = file.BigEndian(4);
        TCursor chunk(bytes, file.Position(), file.Position() + length);
        result.Tracks.push_back(ParseTrack(chunk));
        file.Take(length);
    }
    if (!file.AtEnd()) {
        throw std::runtime_error("bytes after the last track");
    }
    return result;
}

std::vector<std::uint8_t> ReadBinaryFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}
