#pragma once
// The main window's wave list: owns the collection of named effects ("Sounds.dxw") and keeps
// it attached to its sound device while that is open. User-interface thread only.

#include "audio/WaveCollection.h"

class TDXSound;
enum class TDXSoundNotifyType;

class TDXWaveList {
public:
    TDXWaveList() = default;
    // Stops listening and silences every item.
    ~TDXWaveList();
    TDXWaveList(const TDXWaveList&) = delete;
    TDXWaveList& operator=(const TDXWaveList&) = delete;

    // Listens to sound (null: to none) instead of the previous device: the collection is
    // attached while the device is open (at once if it is open now), refilled whenever the
    // device asks, detached when it closes, and forgotten when it is destroyed.
    void SetDXSound(TDXSound* sound);
    TDXSound* DXSound() const { return Sound; }

    TWaveCollection& Items() { return Collection; }
    const TWaveCollection& Items() const { return Collection; }

private:
    void DXSoundNotifyEvent(TDXSound& sound, TDXSoundNotifyType type);

    TWaveCollection Collection;
    TDXSound* Sound = nullptr;
};
