#pragma once
// The sound device: makes buffers and owns the mixer they play through, which it attaches to
// the shared audio output for as long as it lives. Lives while the game or any buffer holds
// a reference.

#include "platform/dsound/DSound.h"
#include "platform/dsound/Mixer.h"
#include "platform/dsound/SdlAudioOutput.h"

#include <memory>

class TSoundDevice : public IDirectSound {
public:
    // output null: nothing is heard and the caller drives Mixer().Mix itself (tests,
    // benchmarks). Otherwise format must be output->Format().
    TSoundDevice(TMixFormat format, std::shared_ptr<TSdlAudioOutput> output);

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* description, IDirectSoundBuffer** buffer,
                              IUnknown* outer) override;
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                 IDirectSoundBuffer** duplicate) override;
    // Focus is not followed: buffers sound whichever window is active.
    HRESULT SetCooperativeLevel(HWND window, DWORD level) override;

    TMixer& Mixer() { return VoiceMixer; }

private:
    ~TSoundDevice() override;
    HRESULT CreateSecondaryBuffer(const DSBUFFERDESC& description, IDirectSoundBuffer** buffer);

    TMixer VoiceMixer;
    // Held so that the output stays open while the device lives; the mixer is detached from it
    // before either goes.
    std::shared_ptr<TSdlAudioOutput> Output;
};
