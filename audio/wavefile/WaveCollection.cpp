#include "audio/wavefile/WaveCollection.h"

#include "audio/wavefile/StreamTexts.h"
#include "audio/wavefile/WaveCollectionReader.h"
#include "core/GameError.h"
#include "platform/files/RegularFile.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace {
// Far above the game's own collection; a larger file is refused before it fills memory.
constexpr std::size_t MaxWaveCollectionBytes = 64u << 20;

// The bytes of a readable regular file; none for a missing file, a directory, a pipe, a
// device, no permission or a file too large to be a collection.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (ReadRegularFile(path, MaxWaveCollectionBytes, bytes)) {
        return std::nullopt;
    }
    return bytes;
}
} // namespace

void TWaveCollectionItem::SetName(std::string name) {
    Owner.Unlink(*this);
    ItemName = std::move(name);
    Bucket = WaveNameBucket(ItemName);
    Owner.LinkAtHead(*this);
}

void TWaveCollection::LinkAtHead(TWaveCollectionItem& item) {
    TWaveCollectionItem*& head = Buckets[item.Bucket];
    item.PrevInBucket = nullptr;
    item.NextInBucket = head;
    if (head != nullptr) {
        head->PrevInBucket = &item;
    }
    head = &item;
}

void TWaveCollection::Unlink(TWaveCollectionItem& item) {
    if (item.PrevInBucket != nullptr) {
        item.PrevInBucket->NextInBucket = item.NextInBucket;
    } else {
        Buckets[item.Bucket] = item.NextInBucket;
    }
    if (item.NextInBucket != nullptr) {
        item.NextInBucket->PrevInBucket = item.PrevInBucket;
    }
    item.PrevInBucket = nullptr;
    item.NextInBucket = nullptr;
}

TWaveCollectionItem& TWaveCollection::Add() {
    ItemList.push_back(std::unique_ptr<TWaveCollectionItem>(
        new TWaveCollectionItem(*this, static_cast<int>(ItemList.size()))));
    TWaveCollectionItem& item = *ItemList.back();
    item.Bucket = WaveNameBucket(item.ItemName);
    LinkAtHead(item);
    return item;
}

void TWaveCollection::Clear() {
    Buckets.fill(nullptr);
    ItemList.clear();
    if (ItemsReplaced) {
        ItemsReplaced();
    }
}

TWaveCollectionItem& TWaveCollection::FindByName(std::string_view name) {
    return const_cast<TWaveCollectionItem&>(std::as_const(*this).FindByName(name));
}

const TWaveCollectionItem& TWaveCollection::FindByName(std::string_view name) const {
    for (TWaveCollectionItem* item = Buckets[WaveNameBucket(name)]; item != nullptr;
         item = item->NextInBucket) {
        if (SameWaveName(item->ItemName, name)) {
            return *item;
        }
    }
    throw EGameError(FormatMessage(WaveNotFoundText, std::string(name)));
}

void TWaveCollection::LoadCollectionFile(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        std::error_code ignored;
        const auto fullPath = std::filesystem::absolute(path, ignored);
        throw EGameError(
            FormatMessage(CannotOpenFileText, fullPath.empty() ? path : fullPath.string()));
    }
    ReadWaveCollection(*bytes, *this);
    if (ItemsReplaced) {
        ItemsReplaced();
    }
}
