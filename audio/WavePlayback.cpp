#include "audio/WavePlayback.h"

#include "audio/DXSound.h"
#include "audio/DXSoundTexts.h"
#include "audio/wavefile/WaveCollection.h"
#include "core/GameError.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>
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

void ApplyControls(const TWaveCollectionItem& item, TDirectSoundBuffer& buffer) {
    buffer.SetFrequency(static_cast<DWORD>(item.Frequency));
    buffer.SetPan(item.Pan);
    buffer.SetVolume(item.Volume);
}

bool Made(const std::unique_ptr<TDirectSoundBuffer>& buffer) {
    return buffer && buffer->Made();
}
} // namespace

TWavePlayback::TWavePlayback(TWaveCollection& collection) : Collection(collection) {
    Collection.SetItemsReplaced([this] { ItemsReplaced(); });
}

TWavePlayback::~TWavePlayback() {
    Collection.SetItemsReplaced({});
}

TWavePlayback::TItemBuffers& TWavePlayback::BuffersOf(const TWaveCollectionItem& item) {
    const auto index = static_cast<std::size_t>(item.Index());
    if (index >= Items.size()) {
        Items.resize(index + 1);
    }
    return Items[index];
}

const TWavePlayback::TItemBuffers*
TWavePlayback::FindBuffers(const TWaveCollectionItem& item) const {
    const auto index = static_cast<std::size_t>(item.Index());
    return index < Items.size() ? &Items[index] : nullptr;
}

void TWavePlayback::ItemsReplaced() {
    Items.clear();
    if (Sound != nullptr && Sound->Initialized()) {
        Attach(*Sound);
        Restore();
    }
}

void TWavePlayback::FillMainBuffer(const TWaveCollectionItem& item, TItemBuffers& buffers) {
    const TWave& wave = item.Wave;
    if (!wave.HasSamples()) {
        return;
    }
    const bool deviceOpen = Sound != nullptr && Sound->Initialized();
    if (!buffers.IsInitialized && deviceOpen) {
        buffers.IsInitialized = true;
    }
    if (!buffers.IsInitialized || !deviceOpen) {
        return;
    }
    const std::optional<WAVEFORMATEX> format = DeviceFormat(wave.Format);
    if (!format || wave.Samples.size() > DSBSIZE_MAX) {
        throw SoundBufferError(CannotBeMadeText);
    }
    const auto bytes = static_cast<DWORD>(wave.Samples.size());
    if (!buffers.Main) {
        buffers.Main = std::make_unique<TDirectSoundBuffer>(*Sound->DSound());
    }
    TDirectSoundBuffer& main = *buffers.Main;
    DSBUFFERDESC description{};
    description.dwSize = DSBUFFERDESC_SIZE;
    description.dwFlags = Sound->SoundBufferFlags();
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &*format;
    if (!main.CreateBuffer(description)) {
        throw SoundBufferError(CannotBeMadeText);
    }
    if (!main.Lock(0, bytes)) {
        throw SoundBufferError(CannotBeLockedText);
    }
    const auto rest = CopyInto(main.LockedFirst(), wave.Samples);
    CopyInto(main.LockedSecond(), rest);
    main.Unlock();
    ApplyControls(item, main);
}

TDirectSoundBuffer* TWavePlayback::FreeOrNewDuplicate(const TWaveCollectionItem& item,
                                                      TItemBuffers& buffers) {
    auto& duplicates = buffers.Duplicates;
    for (const auto& copy : duplicates) {
        if (!copy->Playing()) {
            return copy.get();
        }
    }
    const std::int32_t limit = item.MaxPlayingCount();
    if (limit == 0 || static_cast<std::int32_t>(duplicates.size()) < limit) {
        if (!Made(buffers.Main)) {
            FillMainBuffer(item, buffers);
        }
        if (!Made(buffers.Main)) {
            return nullptr;
        }
        auto copy = std::make_unique<TDirectSoundBuffer>(*Sound->DSound());
        if (!copy->Duplicate(*buffers.Main)) {
            return nullptr;
        }
        duplicates.push_back(std::move(copy));
        return duplicates.back().get();
    }
    // Every copy is busy and no more are allowed: the oldest start is cut off and reused.
    std::rotate(duplicates.begin(), duplicates.begin() + 1, duplicates.end());
    return duplicates.back().get();
}

void TWavePlayback::PlayItem(const TWaveCollectionItem& item, bool wait) {
    TItemBuffers& buffers = BuffersOf(item);
    if (!buffers.IsInitialized) {
        return;
    }
    if (item.Looped) {
        if (!Made(buffers.Main)) {
            FillMainBuffer(item, buffers);
        }
        if (!Made(buffers.Main)) {
            return;
        }
        buffers.Main->Stop();
        buffers.Main->SetCurrentPosition(0);
        buffers.Main->Play(true);
        return;
    }
    TDirectSoundBuffer* copy = FreeOrNewDuplicate(item, buffers);
    if (copy == nullptr) {
        return;
    }
    copy->Stop();
    copy->SetCurrentPosition(0);
    ApplyControls(item, *copy);
    copy->Play(false);
    while (wait && copy->Playing()) {
        std::this_thread::sleep_for(WaitPollInterval);
    }
}

void TWavePlayback::Attach(TDXSound& sound) {
    Sound = &sound;
    Items.clear();
    Items.resize(static_cast<std::size_t>(Collection.Count()));
    for (TItemBuffers& buffers : Items) {
        buffers.IsInitialized = true;
    }
}

void TWavePlayback::Detach() {
    Items.clear();
    Sound = nullptr;
}

void TWavePlayback::Restore() {
    for (int index = 0; index < Collection.Count(); ++index) {
        const TWaveCollectionItem& item = Collection.Items(index);
        FillMainBuffer(item, BuffersOf(item));
    }
}

bool TWavePlayback::Initialized(const TWaveCollectionItem& item) const {
    const TItemBuffers* buffers = FindBuffers(item);
    return buffers != nullptr && buffers->IsInitialized;
}

TDirectSoundBuffer* TWavePlayback::MainBuffer(const TWaveCollectionItem& item) const {
    const TItemBuffers* buffers = FindBuffers(item);
    return buffers != nullptr ? buffers->Main.get() : nullptr;
}

int TWavePlayback::DuplicateCount(const TWaveCollectionItem& item) const {
    const TItemBuffers* buffers = FindBuffers(item);
    return buffers != nullptr ? static_cast<int>(buffers->Duplicates.size()) : 0;
}

TDirectSoundBuffer& TWavePlayback::Duplicate(const TWaveCollectionItem& item, int index) const {
    const TItemBuffers* buffers = FindBuffers(item);
    if (buffers == nullptr) {
        throw std::out_of_range("no copy of that wave");
    }
    return *buffers->Duplicates.at(static_cast<std::size_t>(index));
}
