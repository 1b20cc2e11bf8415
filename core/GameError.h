#pragma once
// A failure with a message for the player: file input and output, the wave collection
// reader, profile writes. Unless a caller catches it, it ends in the application's general
// error box.

#include <stdexcept>
#include <string>

class EGameError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Fills the one "%s" of a message text, as the game's messages are written.
inline std::string FormatMessage(const std::string& pattern, const std::string& value) {
    const auto at = pattern.find("%s");
    if (at == std::string::npos) {
        return pattern;
    }
    return pattern.substr(0, at) + value + pattern.substr(at + 2);
}
