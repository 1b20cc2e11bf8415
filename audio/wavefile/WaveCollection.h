#pragma once
// The game's named sound effects: an ordered list of items, each a recording with a name,
// plus an index of 256 name buckets for FindByName.
//
// Items are made by their collection (Add) and stay at the same address until the collection
// is emptied, so callers may keep references to them between frames. Playing them is the
// sound library's part (audio/WavePlayback.h), which owns their buffers.

#include "audio/wavefile/Wave.h"
#include "audio/wavefile/WaveName.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

private:
    friend class TWaveCollection;
    TWaveCollectionItem(TWaveCollection& owner, int position) : Owner(owner), Position(position) {}

    TWaveCollection& Owner;
    int Position;
    std::string ItemName;
    std::uint8_t Bucket = 0;
    TWaveCollectionItem* PrevInBucket = nullptr;
    TWaveCollectionItem* NextInBucket = nullptr;
    std::int32_t PlayingLimit = 0;
};

class TWaveCollection {
public:
    TWaveCollection() = default;
    TWaveCollection(const TWaveCollection&) = delete;
    TWaveCollection& operator=(const TWaveCollection&) = delete;

    // Appends an unnamed item, found under the empty name until it is named.
    TWaveCollectionItem& Add();
    // Removes every item; references to them become invalid. Tells the listener.
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
    // (see WaveCollectionReader.h) leaving it empty. Tells the listener once the items are
    // read, whose errors (a playback that cannot fill its buffers) this passes on.
    void LoadCollectionFile(const std::string& path);

    // Called after Clear and after a file's items are read: the items the listener knew are
    // gone. One listener, the playback of the collection; empty for none.
    void SetItemsReplaced(std::function<void()> listener) { ItemsReplaced = std::move(listener); }

private:
    friend class TWaveCollectionItem;
    void LinkAtHead(TWaveCollectionItem& item);
    void Unlink(TWaveCollectionItem& item);

    std::vector<std::unique_ptr<TWaveCollectionItem>> ItemList;
    std::array<TWaveCollectionItem*, WaveNameBucketCount> Buckets{};
    std::function<void()> ItemsReplaced;
};
