#pragma once
// The sound effects as the main window drives them (audio/SoundEffects.h): the sound device
// bound to the main window, the wave collection "Sounds.dxw", and playing a wave by its name.
// The main window holds one; the device and every effect go with it.

#include "platform/dsound/DSoundTypes.h"

#include <string>
#include <string_view>

class TSoundEffects {
public:
    TSoundEffects() = default;
    ~TSoundEffects();
    TSoundEffects(const TSoundEffects&) = delete;
    TSoundEffects& operator=(const TSoundEffects&) = delete;

    // The loading step: with sounds on, opens the device bound to form (switching sounds and
    // music off, silently, when it cannot), then reads programDirectory's "Sounds.dxw".
    // Throws EGameError "Cannot open file <path>" or the reader's error.
    void Load(HWND form, const std::string& programDirectory);
    // Plays the named wave without waiting for its end, while sounds are on. A name the
    // collection lacks plays nothing.
    void Play(std::string_view name);
};
