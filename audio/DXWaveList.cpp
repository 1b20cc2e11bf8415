#include "audio/DXWaveList.h"

#include "audio/DXSound.h"

TDXWaveList::~TDXWaveList() {
    SetDXSound(nullptr);
}

void TDXWaveList::SetDXSound(TDXSound* sound) {
    if (Sound != nullptr) {
        Sound->UnRegisterNotifyEvent(this);
        Collection.Detach();
    }
    Sound = sound;
    if (Sound == nullptr) {
        return;
    }
    Sound->RegisterNotifyEvent(
        this, [this](TDXSound& from, TDXSoundNotifyType type) { DXSoundNotifyEvent(from, type); });
    if (Sound->Initialized()) {
        Collection.Attach(*Sound);
        Collection.Restore();
    }
}

void TDXWaveList::DXSoundNotifyEvent(TDXSound& sound, TDXSoundNotifyType type) {
    switch (type) {
    case TDXSoundNotifyType::Destroying:
        // The device is going: nothing may keep a buffer made on it.
        Collection.Detach();
        Sound->UnRegisterNotifyEvent(this);
        Sound = nullptr;
        break;
    case TDXSoundNotifyType::Initialize:
        Collection.Attach(sound);
        break;
    case TDXSoundNotifyType::Finalize:
        Collection.Detach();
        break;
    case TDXSoundNotifyType::Restore:
        Collection.Restore();
        break;
    case TDXSoundNotifyType::Initializing:
        break;
    }
}
