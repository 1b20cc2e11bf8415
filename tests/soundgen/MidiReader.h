#pragma once
// An independent Standard MIDI File reader for the tests: it knows nothing of the writer and
// fails loudly (std::runtime_error) on anything malformed.

#include <cstdint>
#include <string>
#include <vector>

struct TMidiRecord {
    std::uint32_t Tick = 0;
    std::uint8_t Status = 0;   // 0xFF for meta events
    std::uint8_t MetaType = 0; // meta events only
    std::vector<std::uint8_t> Data;
};

struct TMidiTrackRecord {
    std::vector<TMidiRecord> Events; // the end-of-track event included, last
};

struct TMidiFileRecord {
    int Format = 0;
    int Division = 0;
    std::vector<TMidiTrackRecord> Tracks;
};

TMidiFileRecord ParseMidiFile(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBinaryFile(const std::string& path);
