#pragma once
// The few pieces of JSON the simulation driver prints.

#include <ostream>
#include <string_view>

// A float with 9 significant digits (enough to read back the same single); null for an
// infinity or NaN, which JSON cannot hold.
void WriteJsonFloat(std::ostream& out, float value);
// A quoted string with quotes, backslashes and control characters escaped, and every byte
// that is not part of well-formed UTF-8 replaced by U+FFFD.
void WriteJsonString(std::ostream& out, std::string_view text);
