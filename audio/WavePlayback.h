#pragma once
// The playing half of the wave collection: for each item, its main buffer filled with its
// wave and the duplicates of it that sound the effect, several at once. Driven by the wave
// list that owns both; user-interface thread only.
//
// Items are known by their position; when the collection replaces its items (Clear, a file
// loaded) their buffers go too, and, attached to an open device, the new items are attached
// and filled at once.

#include "audio/DirectSound.h"

#include <memory>
#include <vector>

class TDXSound;
class TWaveCollection;
class TWaveCollectionItem;

class TWavePlayback {
public:
    explicit TWavePlayback(TWaveCollection& collection);
    ~TWavePlayback();
    TWavePlayback(const TWavePlayback&) = delete;
    TWavePlayback& operator=(const TWavePlayback&) = delete;

    // Every item drops its buffers, ready to play on sound's device once filled (Restore).
    void Attach(TDXSound& sound);
    // Every item frees its buffers (silencing them) and stops playing; the device is forgotten.
    void Detach();
    // Every item fills its main buffer, when attached to an open device. Throws EGameError as
    // PlayItem does.
    void Restore();

    // Plays only while attached to an open sound device; otherwise does nothing. A looped
    // item restarts on its main buffer. Any other plays once on a duplicate of the main
    // buffer sharing its samples: the first one not playing, else a new one while
    // MaxPlayingCount allows, else the oldest, whose sound is cut off. wait true returns only
    // once that copy has stopped (polling every 10 ms); a looped item never waits. Throws
    // EGameError "Sound Buffer cannot be made" (no usable format, or refused by the device)
    // or "Sound Buffer cannot be locked" when the main buffer cannot be made or filled.
    void PlayItem(const TWaveCollectionItem& item, bool wait);

    bool Initialized(const TWaveCollectionItem& item) const;
    // The buffer filled with the item's wave; null until filled.
    TDirectSoundBuffer* MainBuffer(const TWaveCollectionItem& item) const;
    // The copies made for playing the item, in the order they are reused.
    int DuplicateCount(const TWaveCollectionItem& item) const;
    TDirectSoundBuffer& Duplicate(const TWaveCollectionItem& item, int index) const;

private:
    struct TItemBuffers {
        std::unique_ptr<TDirectSoundBuffer> Main;
        std::vector<std::unique_ptr<TDirectSoundBuffer>> Duplicates;
        bool IsInitialized = false;
    };

    // The buffers of the item, made (not initialized) on first use.
    TItemBuffers& BuffersOf(const TWaveCollectionItem& item);
    const TItemBuffers* FindBuffers(const TWaveCollectionItem& item) const;
    void ItemsReplaced();
    // Makes the main buffer and copies the samples into it; nothing for a wave without
    // samples or an item that cannot be initialized.
    void FillMainBuffer(const TWaveCollectionItem& item, TItemBuffers& buffers);
    TDirectSoundBuffer* FreeOrNewDuplicate(const TWaveCollectionItem& item, TItemBuffers& buffers);

    TWaveCollection& Collection;
    std::vector<TItemBuffers> Items;
    TDXSound* Sound = nullptr;
};
