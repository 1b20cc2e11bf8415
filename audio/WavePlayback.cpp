// The playing half of the wave collection: each item's main buffer, filled with its wave, and
// the duplicates of it that sound the effect, several at once.

#include "audio/DXSound.h"
#include "audio/DXSoundTexts.h"
#include "audio/WaveCollection.h"
#include "core/GameError.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

namespace {
constexpr auto WaitPollInterval = std::chrono::milliseconds(10);

// The format block as the device takes it. Shorter than plain PCM's 16 bytes it is no
// format at all; the extra-size field a 16-byte block lacks reads as 0.
std::optional<WAVEFORMATEX> DeviceFormat(const std::vector<std::uint8_t>& block) {
    if (!ReadWaveFormat(block)) {
        return std::nullopt;
    }
    WAVEFORMATEX format{};
    std::memcpy(&format, block.data(), std::min(block.size(), sizeof(format)));
    return format;
}

EGameError SoundBufferError(const char* text) {
    return EGameError(FormatMessage(text, SoundBufferName));
}

// Copies as much of bytes as fits into region; returns what is left.
std::span<const std::uint8_t> CopyInto(std::span<std::uint8_t> region,
                                       std::span<const std::uint8_t> bytes) {
    const std::size_t count = std::min(region.size(), bytes.size());
    std::copy_n(bytes.begin(), count, region.begin());
    return bytes.subspan(count);
}
} // namespace

void TWaveCollectionItem::Initialize() {
    Duplicates.clear();
    Main.reset();
    IsInitialized = true;
}

void TWaveCollectionItem::Finalize() {
    Duplicates.clear();
    Main.reset();
    IsInitialized = false;
}

void TWaveCollectionItem::ApplyControls(TDirectSoundBuffer& buffer) const {
    buffer.SetFrequency(static_cast<DWORD>(Frequency));
    buffer.SetPan(Pan);
    buffer.SetVolume(Volume);
}

void TWaveCollectionItem::FillMainBuffer() {
    if (!Wave.HasSamples()) {
        return;
    }
    TDXSound* sound = Owner.Sound;
    const bool deviceOpen = sound != nullptr && sound->Initialized();
    if (!IsInitialized && deviceOpen) {
        IsInitialized = true;
    }
    if (!IsInitialized || !deviceOpen) {
        return;
    }
    const std::optional<WAVEFORMATEX> format = DeviceFormat(Wave.Format);
    if (!format || Wave.Samples.size() > DSBSIZE_MAX) {
        throw SoundBufferError(CannotBeMadeText);
    }
    const auto bytes = static_cast<DWORD>(Wave.Samples.size());
    if (!Main) {
        Main = std::make_unique<TDirectSoundBuffer>(*sound->DSound());
    }
    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_SIZE;
    description.dwFlags = sound->SoundBufferFlags();
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &*format;
    if (!Main->CreateBuffer(description)) {
        throw SoundBufferError(CannotBeMadeText);
    }
    if (!Main->Lock(0, bytes)) {
        throw SoundBufferError(CannotBeLockedText);
    }
    const auto rest = CopyInto(Main->LockedFirst(), Wave.Samples);
    CopyInto(Main->LockedSecond(), rest);
    Main->Unlock();
    ApplyControls(*Main);
}

TDirectSoundBuffer* TWaveCollectionItem::FreeOrNewDuplicate() {
    for (const auto& copy : Duplicates) {
        if (!copy->Playing()) {
            return copy.get();
        }
    }
    if (PlayingLimit == 0 || DuplicateCount() < PlayingLimit) {
        if (!Main || !Main->Made()) {
            FillMainBuffer();
        }
        if (!Main || !Main->Made()) {
            return nullptr;
        }
        auto copy = std::make_unique<TDirectSoundBuffer>(*Owner.Sound->DSound());
        if (!copy->Duplicate(*Main)) {
            return nullptr;
        }
        Duplicates.push_back(std::move(copy));
        return Duplicates.back().get();
    }
    // Every copy is busy and no more are allowed: the oldest start is cut off and reused.
    std::rotate(Duplicates.begin(), Duplicates.begin() + 1, Duplicates.end());
    return Duplicates.back().get();
}

void TWaveCollectionItem::PlayItem(bool wait) {
    if (!IsInitialized) {
        return;
    }
    if (Looped) {
        if (!Main || !Main->Made()) {
            FillMainBuffer();
        }
        if (!Main || !Main->Made()) {
            return;
        }
        Main->Stop();
        Main->SetCurrentPosition(0);
        Main->Play(true);
        return;
    }
    TDirectSoundBuffer* copy = FreeOrNewDuplicate();
    if (copy == nullptr) {
        return;
    }
    copy->Stop();
    copy->SetCurrentPosition(0);
    ApplyControls(*copy);
    copy->Play(false);
    while (wait && copy->Playing()) {
        std::this_thread::sleep_for(WaitPollInterval);
    }
}

void TWaveCollection::Attach(TDXSound& sound) {
    Sound = &sound;
    AttachLoadedItems = [](TWaveCollection& collection) {
        if (collection.Sound->Initialized()) {
            collection.Attach(*collection.Sound);
            collection.Restore();
        }
    };
    for (const auto& item : ItemList) {
        item->Initialize();
    }
}

void TWaveCollection::Detach() {
    for (const auto& item : ItemList) {
        item->Finalize();
    }
    Sound = nullptr;
    AttachLoadedItems = nullptr;
}

void TWaveCollection::Restore() {
    for (const auto& item : ItemList) {
        item->FillMainBuffer();
    }
}
