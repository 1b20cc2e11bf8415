#pragma once
// The failure texts of the "Sounds.dxw" reader, exactly as the player sees them. The ones
// with "%s" are filled with FormatMessage (core/GameError.h).

constexpr const char* StreamReadErrorText = "Stream read error";
constexpr const char* InvalidStreamFormatText = "Invalid stream format";
constexpr const char* WaveInvalidText = "Wave is invalid";
constexpr const char* CannotOpenFileText = "Cannot open file %s";
constexpr const char* PropertyMissingText = "Property %s does not exist";
constexpr const char* InvalidPropertyValueText = "Invalid property value";
constexpr const char* WaveNotFoundText = "Wave '%s' not found";
