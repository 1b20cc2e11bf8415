#include "audio/DirectSound.h"

#include "audio/DXSoundTexts.h"
#include "core/GameError.h"

#include <algorithm>
#include <utility>

TDirectSound::TDirectSound(const TDirectSoundCreate& create, std::function<void()> restoreAll)
    : RestoreAll(std::move(restoreAll)) {
    Result = create(nullptr, Interface.Put(), nullptr);
    if (Result == DS_OK && !Interface) {
        Result = DSERR_NODRIVER;
    }
    if (Result != DS_OK) {
        Interface.Reset();
    }
}

void TDirectSound::Register(TDirectSoundBuffer& buffer) {
    Buffers.push_back(&buffer);
}

void TDirectSound::Unregister(TDirectSoundBuffer& buffer) {
    std::erase(Buffers, &buffer);
}

TDirectSoundBuffer::TDirectSoundBuffer(TDirectSound& sound) : Sound(&sound) {
    Sound->Register(*this);
}

TDirectSoundBuffer::~TDirectSoundBuffer() {
    if (Sound != nullptr) {
        Sound->Unregister(*this);
    }
}

TDirectSound::~TDirectSound() {
    for (TDirectSoundBuffer* buffer : Buffers) {
        buffer->Orphan();
    }
}

IDirectSound& TDirectSound::ISound() const {
    if (!Interface) {
        throw EGameError(FormatMessage(NotMadeText, DirectSoundInterfaceName));
    }
    return *Interface.Get();
}

void TDirectSound::SetCooperativeLevel(HWND window, DWORD level) {
    Result = ISound().SetCooperativeLevel(window, level);
}

void TDirectSound::BufferLost() {
    if (Restoring || !RestoreAll) {
        return;
    }
    // Refilling locks and fills buffers, which may report the loss again: one refill only.
    Restoring = true;
    try {
        RestoreAll();
    } catch (...) {
        Restoring = false;
        throw;
    }
    Restoring = false;
}

void TDirectSoundBuffer::Orphan() {
    Sound = nullptr;
    Locked = {};
    Interface.Reset();
}

IDirectSound& TDirectSoundBuffer::ISound() const {
    if (Sound == nullptr) {
        throw EGameError(FormatMessage(NotMadeText, DirectSoundInterfaceName));
    }
    return Sound->ISound();
}

IDirectSoundBuffer& TDirectSoundBuffer::IBuffer() const {
    if (!Interface) {
        throw EGameError(FormatMessage(NotMadeText, SoundBufferInterfaceName));
    }
    return *Interface.Get();
}

HRESULT TDirectSoundBuffer::Check(HRESULT result) {
    Result = result;
    if (result == DSERR_BUFFERLOST && Sound != nullptr) {
        Sound->BufferLost();
    }
    return result;
}

void TDirectSoundBuffer::SetBuffer(TComRef<IDirectSoundBuffer> buffer) {
    Locked = {};
    Interface = std::move(buffer);
    BufferCaps = {};
    BufferCaps.dwSize = sizeof(DSBCAPS);
    BufferFormat = {};
    if (Interface) {
        Check(Interface->GetCaps(&BufferCaps));
        Check(Interface->GetFormat(&BufferFormat, sizeof(BufferFormat), nullptr));
    }
}

bool TDirectSoundBuffer::CreateBuffer(const DSBUFFERDESC& description) {
    IDirectSound& sound = ISound();
    TComRef<IDirectSoundBuffer> made;
    if (Check(sound.CreateSoundBuffer(&description, made.Put(), nullptr)) != DS_OK || !made) {
        SetBuffer(nullptr);
        return false;
    }
    SetBuffer(std::move(made));
    return true;
}

bool TDirectSoundBuffer::Duplicate(const TDirectSoundBuffer& source) {
    IDirectSound& sound = ISound();
    TComRef<IDirectSoundBuffer> made;
    if (Check(sound.DuplicateSoundBuffer(&source.IBuffer(), made.Put())) != DS_OK || !made) {
        SetBuffer(nullptr);
        return false;
    }
    SetBuffer(std::move(made));
    return true;
}

bool TDirectSoundBuffer::Lock(DWORD offset, DWORD bytes) {
    IDirectSoundBuffer& buffer = IBuffer();
    if (Locked.Held) {
        Check(DSERR_INVALIDCALL);
        return false;
    }
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    if (Check(buffer.Lock(offset, bytes, &first, &firstBytes, &second, &secondBytes, 0)) != DS_OK) {
        return false;
    }
    const auto region = [](void* at, DWORD size) {
        return at == nullptr ? std::span<std::uint8_t>()
                             : std::span<std::uint8_t>(static_cast<std::uint8_t*>(at), size);
    };
    Locked = {true, region(first, firstBytes), region(second, secondBytes)};
    return true;
}

void TDirectSoundBuffer::Unlock() {
    IDirectSoundBuffer& buffer = IBuffer();
    if (!Locked.Held) {
        return;
    }
    const TLockedRegions lent = std::exchange(Locked, {});
    Check(buffer.Unlock(lent.First.data(), static_cast<DWORD>(lent.First.size()),
                        lent.Second.data(), static_cast<DWORD>(lent.Second.size())));
}

bool TDirectSoundBuffer::Playing() {
    IDirectSoundBuffer& buffer = IBuffer();
    DWORD status = 0;
    if (Check(buffer.GetStatus(&status)) != DS_OK) {
        return false;
    }
    return (status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING)) != 0;
}

void TDirectSoundBuffer::Play(bool looped) {
    Check(IBuffer().Play(0, 0, looped ? DSBPLAY_LOOPING : 0));
}

void TDirectSoundBuffer::Stop() {
    Check(IBuffer().Stop());
}

void TDirectSoundBuffer::SetCurrentPosition(DWORD position) {
    Check(IBuffer().SetCurrentPosition(position));
}

void TDirectSoundBuffer::SetFrequency(DWORD frequency) {
    Check(IBuffer().SetFrequency(frequency));
}

void TDirectSoundBuffer::SetPan(LONG pan) {
    Check(IBuffer().SetPan(pan));
}

void TDirectSoundBuffer::SetVolume(LONG volume) {
    Check(IBuffer().SetVolume(volume));
}
