#include "audio/DXWaveList.h"

#include "audio/DXSound.h"

TDXWaveList::~TDXWaveList() {
    StopListening();
}

void TDXWaveList::StopListening() {
    if (Sound != nullptr) {
        ItemPlayback.Detach();
        Sound->UnRegisterNotifyEvent(this);
        Sound = nullptr;
    }
}

void TDXWaveList::SetDXSound(TDXSound* sound) {
    StopListening();
    Sound = sound;
    if (Sound == nullptr) {
        return;
    }
    Sound->RegisterNotifyEvent(
        this, [this](TDXSound& from, TDXSoundNotifyType type) { DXSoundNotifyEvent(from, type); });
    if (Sound->Initialized()) {
        ItemPlayback.Attach(*Sound);
        ItemPlayback.Restore();
    }
}

void TDXWaveList::DXSoundNotifyEvent(TDXSound& sound, TDXSoundNotifyType type) {
    switch (type) {
    case TDXSoundNotifyType::Destroying:
        // The device is going: nothing may keep a buffer made on it.
        StopListening();
        break;
    case TDXSoundNotifyType::Initialize:
        ItemPlayback.Attach(sound);
        break;
    case TDXSoundNotifyType::Finalize:
        ItemPlayback.Detach();
        break;
    case TDXSoundNotifyType::Restore:
        ItemPlayback.Restore();
        break;
    case TDXSoundNotifyType::Initializing:
        break;
    }
}
