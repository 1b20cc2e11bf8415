#include "platform/dsound/SoundBuffer.h"

#include "platform/dsound/BufferQueries.h"
#include "platform/dsound/SoundDevice.h"

#include <algorithm>
#include <cmath>

namespace {
// Hundredths of a decibel to a factor; the bottom of the range is silence.
float AttenuationGain(LONG hundredths) {
    if (hundredths <= DSBVOLUME_MIN) {
        return 0.0f;
    }
    return std::pow(10.0f, static_cast<float>(hundredths) / 2000.0f);
}
} // namespace

TSoundBuffer::TSoundBuffer(TComRef<TSoundDevice> device, DWORD flags, const WAVEFORMATEX& format,
                           TSampleBytes samples)
    : Owner(std::move(device)), Flags(flags), Format(format), Samples(std::move(samples)) {}

TSoundBuffer::~TSoundBuffer() {
    if (Mixer().Stop(Voice).Playing) {
        // The mixer may still be reading the samples that go with this buffer.
        Mixer().WaitForRunningPass();
    }
}

TMixer& TSoundBuffer::Mixer() const {
    return Owner->Mixer();
}

TSoundBuffer* TSoundBuffer::Duplicate() const {
    auto* copy = new TSoundBuffer(Owner, Flags, Format, Samples);
    copy->Frequency = Frequency;
    copy->Pan = Pan;
    copy->Volume = Volume;
    return copy;
}

TVoiceSamples TSoundBuffer::VoiceSamples() const {
    return {Samples->data(), BufferBytes() / Format.nBlockAlign, Format.nChannels,
            Format.wBitsPerSample};
}

TVoiceControls TSoundBuffer::VoiceControls(bool looping) const {
    const float volume = AttenuationGain(Volume);
    const float left = Pan > 0 ? AttenuationGain(-Pan) : 1.0f;
    const float right = Pan < 0 ? AttenuationGain(Pan) : 1.0f;
    const DWORD rate = Frequency == DSBFREQUENCY_ORIGINAL ? Format.nSamplesPerSec : Frequency;
    return {rate, volume * left, volume * right, looping};
}

bool TSoundBuffer::RefreshVoice() {
    if (!Voice.Valid()) {
        return false;
    }
    if (Mixer().Query(Voice).Playing) {
        return true;
    }
    // Played to its end: the next Play starts from the beginning again.
    Voice = {};
    StoppedFrame = 0;
    return false;
}

void TSoundBuffer::UpdateVoice() {
    if (RefreshVoice()) {
        Mixer().Update(Voice, VoiceControls(Mixer().Query(Voice).Looping));
    }
}

DWORD TSoundBuffer::CurrentFrame() {
    return RefreshVoice() ? Mixer().Query(Voice).Frame : StoppedFrame;
}

HRESULT TSoundBuffer::GetCaps(DSBCAPS* caps) {
    return AnswerCaps(caps, Flags, BufferBytes());
}

HRESULT TSoundBuffer::GetFormat(WAVEFORMATEX* format, DWORD sizeAllocated, DWORD* sizeWritten) {
    return AnswerFormat(Format, format, sizeAllocated, sizeWritten);
}

HRESULT TSoundBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *status = 0;
    if (RefreshVoice()) {
        *status = DSBSTATUS_PLAYING | (Mixer().Query(Voice).Looping ? DSBSTATUS_LOOPING : 0);
    }
    return DS_OK;
}

HRESULT TSoundBuffer::Lock(DWORD offset, DWORD bytes, void** audio1, DWORD* bytes1, void** audio2,
                           DWORD* bytes2, DWORD flags) {
    if (audio1 == nullptr || bytes1 == nullptr ||
        (flags & ~(DSBLOCK_FROMWRITECURSOR | DSBLOCK_ENTIREBUFFER)) != 0) {
        return DSERR_INVALIDPARAM;
    }
    if (Locked.Held) {
        return DSERR_INVALIDCALL;
    }
    const DWORD size = BufferBytes();
    if ((flags & DSBLOCK_FROMWRITECURSOR) != 0) {
        offset = CurrentFrame() * Format.nBlockAlign;
    }
    if ((flags & DSBLOCK_ENTIREBUFFER) != 0) {
        bytes = size;
    }
    if (offset >= size || bytes == 0 || bytes > size) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD first = std::min(bytes, size - offset);
    const DWORD second = bytes - first;
    if (second > 0 && (audio2 == nullptr || bytes2 == nullptr)) {
        return DSERR_INVALIDPARAM;
    }
    Locked = {true, Samples->data() + offset, first, second > 0 ? Samples->data() : nullptr,
              second};
    *audio1 = Locked.First;
    *bytes1 = first;
    if (audio2 != nullptr && bytes2 != nullptr) {
        *audio2 = Locked.Second;
        *bytes2 = second;
    }
    return DS_OK;
}

HRESULT TSoundBuffer::Unlock(void* audio1, DWORD bytes1, void* audio2, DWORD bytes2) {
    if (!Locked.Held) {
        return DSERR_INVALIDCALL;
    }
    if (audio1 != Locked.First || bytes1 > Locked.FirstBytes ||
        (audio2 != nullptr && (audio2 != Locked.Second || bytes2 > Locked.SecondBytes))) {
        return DSERR_INVALIDPARAM;
    }
    Locked = {};
    return DS_OK;
}

HRESULT TSoundBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0 || priority != 0 || (flags & ~DSBPLAY_LOOPING) != 0) {
        return DSERR_INVALIDPARAM;
    }
    const bool looping = (flags & DSBPLAY_LOOPING) != 0;
    if (RefreshVoice()) {
        Mixer().Update(Voice, VoiceControls(looping));
        return DS_OK;
    }
    Voice = Mixer().Start(VoiceSamples(), StoppedFrame, VoiceControls(looping));
    return Voice.Valid() ? DS_OK : DSERR_ALLOCATED;
}

HRESULT TSoundBuffer::Stop() {
    if (RefreshVoice()) {
        StoppedFrame = Mixer().Stop(Voice).Frame;
        Voice = {};
    }
    return DS_OK;
}

HRESULT TSoundBuffer::SetCurrentPosition(DWORD position) {
    if (position >= BufferBytes()) {
        return DSERR_INVALIDPARAM;
    }
    const DWORD frame = position / Format.nBlockAlign;
    if (RefreshVoice()) {
        Mixer().Seek(Voice, frame);
    } else {
        StoppedFrame = frame;
    }
    return DS_OK;
}

HRESULT TSoundBuffer::SetFrequency(DWORD frequency) {
    if ((Flags & DSBCAPS_CTRLFREQUENCY) == 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (frequency != DSBFREQUENCY_ORIGINAL &&
        (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX)) {
        return DSERR_INVALIDPARAM;
    }
    Frequency = frequency;
    UpdateVoice();
    return DS_OK;
}

HRESULT TSoundBuffer::SetPan(LONG pan) {
    if ((Flags & DSBCAPS_CTRLPAN) == 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
        return DSERR_INVALIDPARAM;
    }
    Pan = pan;
    UpdateVoice();
    return DS_OK;
}

HRESULT TSoundBuffer::SetVolume(LONG volume) {
    if ((Flags & DSBCAPS_CTRLVOLUME) == 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) {
        return DSERR_INVALIDPARAM;
    }
    Volume = volume;
    UpdateVoice();
    return DS_OK;
}
