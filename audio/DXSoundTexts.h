#pragma once
// The failure texts of the sound device and its buffers, exactly as the player sees them.
// The "%s" is filled with FormatMessage (core/GameError.h) from the names below.

constexpr const char* FormNotFoundText = "Form not found";
constexpr const char* NotLoadedText = "%s not loaded";
constexpr const char* CannotBeInitializedText = "%s cannot be initialized";
constexpr const char* CannotBeMadeText = "%s cannot be made";
constexpr const char* CannotBeLockedText = "%s cannot be locked";
constexpr const char* NotMadeText = "%s not made";

constexpr const char* SoundLibraryName = "DSound.dll";
constexpr const char* DirectSoundName = "DirectSound";
constexpr const char* PrimaryBufferName = "Primary Buffer";
constexpr const char* SoundBufferName = "Sound Buffer";
constexpr const char* DirectSoundInterfaceName = "IDirectSound";
constexpr const char* SoundBufferInterfaceName = "IDirectSoundBuffer";
