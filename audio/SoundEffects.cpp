#include "audio/SoundEffects.h"

#include "core/GameError.h"
#include "settings/Options.h"

std::unique_ptr<TSoundComponents> SoundComponents;

TSoundComponents::TSoundComponents(HWND form) : DXSound(form) {
    DXWaveList.SetDXSound(&DXSound);
}

void CreateSoundComponents(HWND form) {
    SoundComponents.reset();
    SoundComponents = std::make_unique<TSoundComponents>(form);
}

void DestroySoundComponents() {
    SoundComponents.reset();
}

void LoadSoundEffects(const std::string& programDirectory) {
    if (!SoundComponents) {
        CreateSoundComponents(nullptr);
    }
    if (Options && Options->SoundOn) {
        try {
            SoundComponents->DXSound.OpenDevice();
        } catch (const std::exception&) {
            // Sound is optional: without a device the game goes on in silence, music included.
            Options->SoundOn = false;
            Options->MusicOn = false;
        }
    }
    SoundComponents->DXWaveList.Items().LoadCollectionFile(programDirectory + "Sounds.dxw");
}

void PlaySoundEffect(std::string_view name) {
    if (!Options || !Options->SoundOn || !SoundComponents) {
        return;
    }
    TWaveCollectionItem* item = nullptr;
    try {
        item = &SoundComponents->DXWaveList.Items().FindByName(name);
    } catch (const EGameError&) {
        // A damaged collection lacks the effect: the game plays on without it rather than
        // stopping at an error box on every catch.
        return;
    }
    SoundComponents->DXWaveList.Playback().PlayItem(*item, false);
}
