#include "platform/dsound/SoundDevice.h"

#include "platform/dsound/PrimaryBuffer.h"
#include "platform/dsound/SoundBuffer.h"

#include <cstring>
#include <new>

namespace {
constexpr DWORD SecondaryFlags = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY |
                                 DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_STICKYFOCUS |
                                 DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
constexpr DWORD PrimaryFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_STICKYFOCUS | DSBCAPS_GLOBALFOCUS;

// Reads only the PCM part of the block: a 16-byte "fmt " block has no cbSize.
HRESULT ReadPcmFormat(const WAVEFORMATEX* given, WAVEFORMATEX& format) {
    format = {};
    std::memcpy(&format, given, PcmFormatBytes);
    if (format.wFormatTag != WAVE_FORMAT_PCM) {
        return DSERR_BADFORMAT;
    }
    if ((format.nChannels != 1 && format.nChannels != 2) ||
        (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) ||
        format.nSamplesPerSec < DSBFREQUENCY_MIN || format.nSamplesPerSec > DSBFREQUENCY_MAX) {
        return DSERR_BADFORMAT;
    }
    const DWORD blockAlign = DWORD{format.nChannels} * format.wBitsPerSample / 8;
    if (format.nBlockAlign != blockAlign ||
        format.nAvgBytesPerSec != format.nSamplesPerSec * blockAlign) {
        return DSERR_INVALIDPARAM;
    }
    return DS_OK;
}
} // namespace

TSoundDevice::TSoundDevice(TMixFormat format, std::shared_ptr<TSdlAudioOutput> output)
    : VoiceMixer(format), Output(std::move(output)) {
    // Room is never short: the game attaches this mixer and at most one tune at a time.
    if (Output) {
        Output->Attach(VoiceMixer);
    }
}

TSoundDevice::~TSoundDevice() {
    if (Output) {
        Output->Detach(VoiceMixer);
    }
}

HRESULT TSoundDevice::CreateSoundBuffer(const DSBUFFERDESC* description,
                                        IDirectSoundBuffer** buffer, IUnknown* outer) {
    if (buffer == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *buffer = nullptr;
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    if (description == nullptr || description->dwSize != DSBUFFERDESC_SIZE ||
        description->dwReserved != 0) {
        return DSERR_INVALIDPARAM;
    }
    if ((description->dwFlags & DSBCAPS_PRIMARYBUFFER) == 0) {
        return CreateSecondaryBuffer(*description, buffer);
    }
    if (description->dwBufferBytes != 0 || description->lpwfxFormat != nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if ((description->dwFlags & ~PrimaryFlags) != 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    *buffer = new TPrimaryBuffer(TComRef<TSoundDevice>::Share(this));
    return DS_OK;
}

HRESULT TSoundDevice::CreateSecondaryBuffer(const DSBUFFERDESC& description,
                                            IDirectSoundBuffer** buffer) {
    if (description.lpwfxFormat == nullptr || description.dwBufferBytes < DSBSIZE_MIN ||
        description.dwBufferBytes > DSBSIZE_MAX) {
        return DSERR_INVALIDPARAM;
    }
    if ((description.dwFlags & ~SecondaryFlags) != 0) {
        return DSERR_CONTROLUNAVAIL;
    }
    WAVEFORMATEX format;
    if (const HRESULT checked = ReadPcmFormat(description.lpwfxFormat, format); checked != DS_OK) {
        return checked;
    }
    try {
        // Silence in the recording's own encoding: 8-bit samples are centred on 128.
        const std::uint8_t silence = format.wBitsPerSample == 8 ? 128 : 0;
        auto samples =
            std::make_shared<std::vector<std::uint8_t>>(description.dwBufferBytes, silence);
        *buffer = new TSoundBuffer(TComRef<TSoundDevice>::Share(this), description.dwFlags, format,
                                   std::move(samples));
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}

HRESULT TSoundDevice::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                           IDirectSoundBuffer** duplicate) {
    if (duplicate == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *duplicate = nullptr;
    if (original == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    if (dynamic_cast<TPrimaryBuffer*>(original) != nullptr) {
        return DSERR_INVALIDCALL;
    }
    const auto* source = dynamic_cast<TSoundBuffer*>(original);
    if (source == nullptr || source->Device() != this) {
        return DSERR_INVALIDPARAM;
    }
    *duplicate = source->Duplicate();
    return DS_OK;
}

HRESULT TSoundDevice::SetCooperativeLevel(HWND window, DWORD level) {
    if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
        return DSERR_INVALIDPARAM;
    }
    return DS_OK;
}

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** directSound, IUnknown* outer) {
    if (directSound == nullptr) {
        return DSERR_INVALIDPARAM;
    }
    *directSound = nullptr;
    if (outer != nullptr) {
        return DSERR_NOAGGREGATION;
    }
    if (device != nullptr) {
        return DSERR_NODRIVER; // only the default output is served
    }
    std::shared_ptr<TSdlAudioOutput> output = TSdlAudioOutput::Acquire();
    if (!output) {
        return DSERR_NODRIVER;
    }
    const TMixFormat format = output->Format();
    *directSound = new TSoundDevice(format, std::move(output));
    return DS_OK;
}
