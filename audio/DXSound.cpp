#include "audio/DXSound.h"

#include "audio/DXSoundTexts.h"
#include "core/GameError.h"

#include <utility>

TSoundLibrary PlatformSoundLibrary() {
    // Our platform layer is linked into the program, so this library is always there.
    return {SoundLibraryName, &::DirectSoundCreate};
}

TDXSound::TDXSound(HWND form) : OwnerForm(form) {}

TDXSound::~TDXSound() {
    Notify(TDXSoundNotifyType::Destroying);
    CloseDevice();
}

void TDXSound::RegisterNotifyEvent(const void* owner, TDXSoundNotifyEvent event) {
    Listeners.push_back({owner, std::move(event)});
}

void TDXSound::UnRegisterNotifyEvent(const void* owner) {
    std::erase_if(Listeners,
                  [owner](const TListener& listener) { return listener.Owner == owner; });
}

void TDXSound::Notify(TDXSoundNotifyType type) {
    // Newest first. A listener may unregister itself (or others) while it is told, so the
    // list is indexed afresh at every step and the callback copied out before it runs.
    std::size_t next = Listeners.size();
    while (next > 0) {
        --next;
        if (next >= Listeners.size()) {
            next = Listeners.size();
            continue;
        }
        const TDXSoundNotifyEvent event = Listeners[next].Event;
        event(*this, type);
    }
}

void TDXSound::Fire(const TDXSoundEvent& event, TDXSound& sound) {
    if (event) {
        event(sound);
    }
}

DWORD TDXSound::SoundBufferFlags() const {
    DWORD flags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    if ((Options & soStickyFocus) != 0) {
        flags |= DSBCAPS_STICKYFOCUS;
    } else if ((Options & soGlobalFocus) != 0) {
        flags |= DSBCAPS_GLOBALFOCUS;
    }
    return flags;
}

void TDXSound::OpenDevice() {
    CloseDevice();
    if (OwnerForm == nullptr) {
        throw EGameError(FormNotFoundText);
    }
    Notify(TDXSoundNotifyType::Initializing);
    Fire(OnInitializing, *this);
    try {
        MakeDevice();
        Notify(TDXSoundNotifyType::Initialize);
        InitializeFired = true;
        Fire(OnInitialize, *this);
        RestoreAll();
    } catch (...) {
        // Whatever failed, nothing is left half open.
        CloseDevice();
        ReleaseDevice();
        throw;
    }
}

void TDXSound::MakeDevice() {
    if (!Library.DirectSoundCreate) {
        throw EGameError(FormatMessage(NotLoadedText, Library.Name));
    }
    Device = std::make_unique<TDirectSound>(Library.DirectSoundCreate, [this] { RestoreAll(); });
    if (Device->LastResult() != DS_OK) {
        throw EGameError(FormatMessage(CannotBeInitializedText, DirectSoundName));
    }
    PrimaryBuffer = std::make_unique<TDirectSoundBuffer>(*Device);
    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_SIZE;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    if (!PrimaryBuffer->CreateBuffer(description)) {
        throw EGameError(FormatMessage(CannotBeMadeText, PrimaryBufferName));
    }
    IsOpen = true;
    // Our window handle stays the same for the life of the program, so the level set here
    // never has to be set again for a new window.
    const DWORD level = (Options & soExclusive) != 0 ? DSSCL_EXCLUSIVE : DSSCL_NORMAL;
    Device->SetCooperativeLevel(OwnerForm, level);
}

void TDXSound::CloseDevice() {
    if (!IsOpen) {
        return;
    }
    if (std::exchange(InitializeFired, false)) {
        Fire(OnFinalize, *this);
    }
    Notify(TDXSoundNotifyType::Finalize);
    IsOpen = false;
    ReleaseDevice();
}

void TDXSound::ReleaseDevice() {
    PrimaryBuffer.reset();
    Device.reset();
}

void TDXSound::RestoreAll() {
    if (!IsOpen) {
        return;
    }
    Notify(TDXSoundNotifyType::Restore);
    Fire(OnRestore, *this);
}
