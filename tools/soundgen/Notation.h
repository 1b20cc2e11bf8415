#pragma once
// A compact text for melodies, so tunes read like a lead sheet in code.
//
// Notes are a letter a-g, an optional '#' or 'b', an octave digit (c4 is middle C, key 60)
// and a length: w h q e s (whole to sixteenth), '.' for dotted, 't' for a triplet. "r" with a
// length is a rest. A '~' after a note ties it to the next note, which must be the same key.
// '|' marks a bar line; each bar must fill exactly one bar. Example: "e5q g5e c6e b5q g5q |".

#include "tools/soundgen/Song.h"

#include <cstdint>
#include <string_view>
#include <vector>

// The notes from tick 0 with velocity 0 (the caller decides dynamics). Throws
// std::invalid_argument naming the token or the bar that is wrong.
std::vector<TNote> ParseMelody(std::string_view text, std::uint32_t barTicks);
