#pragma once
// The game's named sound effects: an ordered list of items, each a recording with a name,
// plus an index of 256 name buckets for FindByName.
//
// Items are made by their collection (Add) and stay at the same address until the collection
// is emptied, so callers may keep references to them between frames.

#include "audio/DirectSound.h"
#include "audio/Wave.h"
#include "audio/WaveName.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TDXSound;
class TWaveCollection;

class TWaveCollectionItem {
public:
    TWaveCollectionItem(const TWaveCollectionItem&) = delete;
    TWaveCollectionItem& operator=(const TWaveCollectionItem&) = delete;

    TWaveCollection& Collection() const { return Owner; }
    // Position in the collection, from 0.
    int Index() const { return Position; }

    const std::string& Name() const { return ItemName; }
    // Renames the item and moves it to the head of its new name's bucket, so it is the one
    // FindByName finds among items of the same name.
    void SetName(std::string name);

    // Most copies of the wave playing at once; 0 means no limit.
    std::int32_t MaxPlayingCount() const { return PlayingLimit; }
    // A negative count is stored as 0.
    void SetMaxPlayingCount(std::int32_t count) { PlayingLimit = count < 0 ? 0 : count; }

    // Plays as an endless loop on its main buffer.
    bool Looped = false;
    // Playback adjustments applied to every copy; 0 is the recording's own rate, centre and
    // full volume. The file does not store them.
    std::int32_t Frequency = 0;
    std::int32_t Pan = 0;
    std::int32_t Volume = 0;
    TWave Wave;

    // Playback (audio/WavePlayback.cpp). Plays only while the collection is attached to an
    // open sound device; otherwise does nothing. A looped item restarts on its main buffer.
    // Any other plays once on a duplicate of the main buffer sharing its samples: the first
    // one not playing, else a new one while MaxPlayingCount allows, else the oldest, whose
    // sound is cut off. wait true returns only once that copy has stopped (polling every
    // 10 ms); a looped item never waits. Throws EGameError when the main buffer cannot be
    // made or filled (see FillMainBuffer).
    void PlayItem(bool wait);
    bool Initialized() const { return IsInitialized; }
    // The buffer filled with the wave; null until filled.
    TDirectSoundBuffer* MainBuffer() const { return Main.get(); }
    // The copies made for playing, in the order they are reused.
    int DuplicateCount() const { return static_cast<int>(Duplicates.size()); }
    TDirectSoundBuffer& Duplicate(int index) const { return *Duplicates.at(index); }

private:
    friend class TWaveCollection;
    TWaveCollectionItem(TWaveCollection& owner, int position) : Owner(owner), Position(position) {}

    // Drops every buffer; the item plays again once attached and filled.
    void Initialize();
    void Finalize();
    // Makes the main buffer and copies the samples into it; nothing for a wave without
    // samples or an item that cannot be initialized. Throws EGameError "Sound Buffer cannot
    // be made" (no usable format, or refused by the device) or "Sound Buffer cannot be
    // locked".
    void FillMainBuffer();
    void ApplyControls(TDirectSoundBuffer& buffer) const;
    TDirectSoundBuffer* FreeOrNewDuplicate();

    TWaveCollection& Owner;
    int Position;
    std::string ItemName;
    std::uint8_t Bucket = 0;
    TWaveCollectionItem* PrevInBucket = nullptr;
    TWaveCollectionItem* NextInBucket = nullptr;
    std::int32_t PlayingLimit = 0;
    std::unique_ptr<TDirectSoundBuffer> Main;
    std::vector<std::unique_ptr<TDirectSoundBuffer>> Duplicates;
    bool IsInitialized = false;
};

class TWaveCollection {
public:
    TWaveCollection() = default;
    TWaveCollection(const TWaveCollection&) = delete;
    TWaveCollection& operator=(const TWaveCollection&) = delete;

    // Appends an unnamed item, found under the empty name until it is named.
    TWaveCollectionItem& Add();
    // Removes every item; references to them become invalid.
    void Clear();
    int Count() const { return static_cast<int>(ItemList.size()); }
    TWaveCollectionItem& Items(int index) { return *ItemList.at(index); }
    const TWaveCollectionItem& Items(int index) const { return *ItemList.at(index); }

    // The most recently named item of that name, ignoring letter case. Throws EGameError
    // "Wave '<name>' not found".
    TWaveCollectionItem& FindByName(std::string_view name);
    const TWaveCollectionItem& FindByName(std::string_view name) const;

    // Empties the collection and reads the file at path ("Sounds.dxw"). Throws EGameError:
    // "Cannot open file <full path>" leaving the collection as it was, or a reader failure
    // (see WaveCollectionReader.h) leaving it empty. When attached to an open sound device,
    // every item is attached again and its main buffer filled (see FillMainBuffer).
    void LoadCollectionFile(const std::string& path);

    // Playback (audio/WavePlayback.cpp), driven by the wave list that owns the collection.
    // Every item drops its buffers, ready to play on sound's device once filled (Restore).
    void Attach(TDXSound& sound);
    // Every item frees its buffers (silencing them) and stops playing; the device is forgotten.
    void Detach();
    // Every item fills its main buffer, when attached to an open device.
    void Restore();

private:
    friend class TWaveCollectionItem;
    void LinkAtHead(TWaveCollectionItem& item);
    void Unlink(TWaveCollectionItem& item);

    std::vector<std::unique_ptr<TWaveCollectionItem>> ItemList;
    std::array<TWaveCollectionItem*, WaveNameBucketCount> Buckets{};
    TDXSound* Sound = nullptr;
    // Set while attached: attaches and fills freshly loaded items. Reached through a pointer
    // so that the file code links without the player.
    void (*AttachLoadedItems)(TWaveCollection& collection) = nullptr;
};
