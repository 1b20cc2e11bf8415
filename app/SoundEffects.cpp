#include "app/SoundEffects.h"

#include "audio/SoundEffects.h"

TSoundEffects::~TSoundEffects() {
    DestroySoundComponents();
}

void TSoundEffects::Load(HWND form, const std::string& programDirectory) {
    CreateSoundComponents(form);
    LoadSoundEffects(programDirectory);
}

void TSoundEffects::Play(std::string_view name) {
    PlaySoundEffect(name);
}
