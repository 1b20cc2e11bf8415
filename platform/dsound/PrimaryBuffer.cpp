#include "platform/dsound/PrimaryBuffer.h"

#include "platform/dsound/BufferQueries.h"
#include "platform/dsound/SoundDevice.h"

namespace {
constexpr WORD OutputChannels = 2;
constexpr WORD OutputBits = 16;
constexpr WORD OutputBlockAlign = OutputChannels * OutputBits / 8;
} // namespace

TPrimaryBuffer::TPrimaryBuffer(TComRef<TSoundDevice> device) : Owner(std::move(device)) {}

TPrimaryBuffer::~TPrimaryBuffer() = default;

WAVEFORMATEX TPrimaryBuffer::OutputFormat() const {
    const DWORD rate = Owner->Mixer().Format().Rate;
    return {WAVE_FORMAT_PCM,  OutputChannels, rate, rate * OutputBlockAlign,
            OutputBlockAlign, OutputBits,     0};
}

HRESULT TPrimaryBuffer::GetCaps(DSBCAPS* caps) {
    return AnswerCaps(caps, DSBCAPS_PRIMARYBUFFER,
                      Owner->Mixer().Format().FramesPerPass * OutputBlockAlign);
}

HRESULT TPrimaryBuffer::GetFormat(WAVEFORMATEX* format, DWORD sizeAllocated, DWORD* sizeWritten) {
    return AnswerFormat(OutputFormat(), format, sizeAllocated, sizeWritten);
}

HRESULT TPrimaryBuffer::GetStatus(DWORD* status) {
    if (status == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *status = DSBSTATUS_PLAYING | DSBSTATUS_LOOPING;
    return DS_OK;
}

HRESULT TPrimaryBuffer::Lock(DWORD, DWORD, void**, DWORD*, void**, DWORD*, DWORD) {
    return DSERR_PRIOLEVELNEEDED;
}

HRESULT TPrimaryBuffer::Unlock(void*, DWORD, void*, DWORD) {
    return DSERR_INVALIDCALL;
}

HRESULT TPrimaryBuffer::Play(DWORD reserved, DWORD priority, DWORD flags) {
    if (reserved != 0 || priority != 0 || flags != DSBPLAY_LOOPING) {
        return DSERR_INVALIDPARAM;
    }
    return DS_OK;
}

HRESULT TPrimaryBuffer::Stop() {
    return DSERR_PRIOLEVELNEEDED;
}

HRESULT TPrimaryBuffer::SetCurrentPosition(DWORD) {
    return DSERR_INVALIDCALL;
}

HRESULT TPrimaryBuffer::SetFrequency(DWORD) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT TPrimaryBuffer::SetPan(LONG) {
    return DSERR_CONTROLUNAVAIL;
}

HRESULT TPrimaryBuffer::SetVolume(LONG) {
    return DSERR_CONTROLUNAVAIL;
}
