#include "MidiReader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {
class TCursor {
public:
    TCursor(const std::vector<std::uint8_t>& bytes, std::size_t begin, std::size_t end)
        : Bytes(bytes), At(begin), End(end) {}
    bool AtEnd() const { return At >= End; }
    std::uint8_t Peek() const {
        Need(1);
        return Bytes[At];
    }
    std::uint8_t Byte() {
        Need(1);
        return Bytes[At++];
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
        Need(count);
        std::vector<std::uint8_t> data(Bytes.begin() + static_cast<std::ptrdiff_t>(At),
                                       Bytes.begin() + static_cast<std::ptrdiff_t>(At + count));
        At += count;
        return data;
    }
    std::size_t Position() const { return At; }

private:
    void Need(std::size_t count) const {
        if (At + count > End) {
            throw std::runtime_error("MIDI data runs past its chunk");
        }
    }
    const std::vector<std::uint8_t>& Bytes;
    std::size_t At;
    std::size_t End;
};

int DataBytesOf(std::uint8_t status) {
    const int kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

TMidiTrackRecord ParseTrack(TCursor& chunk) {
    TMidiTrackRecord track;
    std::uint32_t now = 0;
    std::uint8_t running = 0;
    while (!chunk.AtEnd()) {
        if (!track.Events.empty() && track.Events.back().Status == 0xFF &&
            track.Events.back().MetaType == 0x2F) {
            throw std::runtime_error("events after the end of track");
        }
        now += chunk.VariableLength();
        TMidiRecord event;
        event.Tick = now;
        std::uint8_t status = chunk.Peek();
        if (status & 0x80) {
            chunk.Byte();
        } else if (running == 0) {
            throw std::runtime_error("data byte without a status");
        } else {
            status = running;
        }
        event.Status = status;
        if (status == 0xFF) {
            event.MetaType = chunk.Byte();
            event.Data = chunk.Take(chunk.VariableLength());
        } else if (status == 0xF0 || status == 0xF7) {
            event.Data = chunk.Take(chunk.VariableLength());
        } else {
            running = status;
            event.Data = chunk.Take(static_cast<std::size_t>(DataBytesOf(status)));
        }
        track.Events.push_back(std::move(event));
    }
    if (track.Events.empty() || track.Events.back().Status != 0xFF ||
        track.Events.back().MetaType != 0x2F || !track.Events.back().Data.empty()) {
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
        const std::size_t start = file.Position();
        TCursor chunk(bytes, start, start + length);
        if (start + length > bytes.size()) {
            throw std::runtime_error("track chunk runs past the file");
        }
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
