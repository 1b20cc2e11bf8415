#pragma once
// A secondary sound buffer: one PCM recording that plays once or loops through the device's
// mixer. Duplicates share the recording's bytes and play independently. Used from the
// user-interface thread only; the buffer keeps its device alive.

#include "platform/dsound/DSound.h"
#include "platform/dsound/Mixer.h"

#include <cstdint>
#include <memory>
#include <vector>

class TSoundDevice;

class TSoundBuffer : public IDirectSoundBuffer {
public:
    using TSampleBytes = std::shared_ptr<std::vector<std::uint8_t>>;

    // format: checked 8- or 16-bit PCM, mono or stereo; samples: silent bytes to fill.
    TSoundBuffer(TComRef<TSoundDevice> device, DWORD flags, const WAVEFORMATEX& format,
                 TSampleBytes samples);

    // A stopped copy at position 0 with the same controls, sharing the samples.
    TSoundBuffer* Duplicate() const;
    const TSoundDevice* Device() const { return Owner.Get(); }

    HRESULT GetCaps(DSBCAPS* caps) override;
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD sizeAllocated, DWORD* sizeWritten) override;
    HRESULT GetStatus(DWORD* status) override;
    HRESULT Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                 DWORD* bytes2, DWORD flags) override;
    HRESULT Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) override;
    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) override;
    HRESULT Stop() override;
    HRESULT SetCurrentPosition(DWORD position) override;
    HRESULT SetFrequency(DWORD frequency) override;
    HRESULT SetPan(LONG pan) override;
    HRESULT SetVolume(LONG volume) override;

private:
    ~TSoundBuffer() override;

    struct TLockedRegions {
        bool Held = false;
        void* First = nullptr;
        DWORD FirstBytes = 0;
        void* Second = nullptr;
        DWORD SecondBytes = 0;
    };

    TMixer& Mixer() const;
    DWORD BufferBytes() const { return static_cast<DWORD>(Samples->size()); }
    DWORD CurrentFrame();
    TVoiceSamples VoiceSamples() const;
    TVoiceControls VoiceControls(bool looping) const;
    // Forgets a voice that has played to its end; true while it still sounds.
    bool RefreshVoice();
    void UpdateVoice();

    TComRef<TSoundDevice> Owner;
    const DWORD Flags;
    const WAVEFORMATEX Format;
    const TSampleBytes Samples;
    DWORD Frequency = DSBFREQUENCY_ORIGINAL;
    LONG Pan = 0;
    LONG Volume = 0;
    TVoiceHandle Voice;
    DWORD StoppedFrame = 0; // where the next Play starts while no voice sounds
    TLockedRegions Locked;
};
