#pragma once
// The main window's wave list: owns the collection of named effects ("Sounds.dxw") and its
// playback, which it keeps attached to its sound device while that is open. User-interface
// thread only.

#include "audio/WavePlayback.h"
#include "audio/wavefile/WaveCollection.h"

class TDXSound;
enum class TDXSoundNotifyType;

class TDXWaveList {
public:
    TDXWaveList() = default;
    // Stops listening and silences every item.
    ~TDXWaveList();
    TDXWaveList(const TDXWaveList&) = delete;
    TDXWaveList& operator=(const TDXWaveList&) = delete;

    // Listens to sound (null: to none) instead of the previous device: the playback is
    // attached while the device is open (at once if it is open now), refilled whenever the
    // device asks, detached when it closes, and forgotten when it is destroyed.
    void SetDXSound(TDXSound* sound);
    TDXSound* DXSound() const { return Sound; }

    TWaveCollection& Items() { return Collection; }
    const TWaveCollection& Items() const { return Collection; }
    TWavePlayback& Playback() { return ItemPlayback; }
    const TWavePlayback& Playback() const { return ItemPlayback; }

private:
    // Detaches the playback from the device and stops listening to it; nothing it calls
    // throws, which the destructor relies on.
    void StopListening();
    void DXSoundNotifyEvent(TDXSound& sound, TDXSoundNotifyType type);

    // Declared after the collection, so that it stops listening to it before it goes.
    TWaveCollection Collection;
    TWavePlayback ItemPlayback{Collection};
    TDXSound* Sound = nullptr;
};
