#pragma once
// The sound effects as the main window drives them: the sound device, the wave collection
// "Sounds.dxw" and playing a wave by its name. The collection is read in full, so a missing
// or broken file stops the loading as it must; the effect player that makes the waves heard
// fills in OpenDevice and the playing half of Play. Until it does, effects are silent.

#include "audio/WaveCollection.h"

#include <string>
#include <string_view>

class TSoundEffects {
public:
    // Starts the sound output. Throws when it cannot; the caller then goes on silently.
    void OpenDevice();
    // Reads the wave collection; throws EGameError "Cannot open file <path>" or the reader's
    // error.
    void LoadCollectionFile(const std::string& path) { Waves.LoadCollectionFile(path); }
    // Plays the named wave without waiting for its end. Throws EGameError "Wave '<name>' not
    // found" for a name the collection does not have.
    void Play(std::string_view name);

    TWaveCollection Waves;
};
