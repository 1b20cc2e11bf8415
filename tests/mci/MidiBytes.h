#pragma once
// Builds Standard MIDI Files for the tests.

#include <cstdint>
#include <string>
#include <vector>

using TBytes = std::vector<std::uint8_t>;

// The variable-length quantity of a delta time.
TBytes VarLen(std::uint32_t value);
// A whole file: format 0 for one track body, 1 for more.
TBytes SmfFile(std::uint16_t division, const std::vector<TBytes>& trackBodies);
// One note from tick 0 to endTick / 2 and the end of the track at endTick, 96 ticks a
// quarter note at the default 120 beats a minute (192 ticks a second).
TBytes OneNoteSong(std::uint32_t endTick);
// Writes bytes to path, replacing the file in one step (tests run side by side).
void WriteFileAtomically(const std::string& path, const TBytes& bytes);
