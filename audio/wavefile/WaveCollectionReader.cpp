#include "audio/wavefile/WaveCollectionReader.h"

#include "audio/wavefile/ByteReader.h"
#include "audio/wavefile/ComponentStream.h"
#include "audio/wavefile/StreamTexts.h"
#include "audio/wavefile/WaveImage.h"
#include "core/GameError.h"

#include <algorithm>

namespace {
class TCollectionStreamReader {
public:
    TCollectionStreamReader(std::span<const std::uint8_t> image, TWaveCollection& collection)
        : Image(image), Reader(image), Collection(collection) {}

    void Read() {
        SkipResourceHeader();
        ReadSignature();
        SkipFlagsPrefix();
        ReadHolder();
    }

private:
    void SkipResourceHeader() {
        const auto window = Image.first(std::min(Image.size(), ResourceHeaderWindow));
        if (window.size() < ResourceHeaderStart.size() ||
            !std::equal(ResourceHeaderStart.begin(), ResourceHeaderStart.end(), window.begin())) {
            throw EGameError(InvalidStreamFormatText);
        }
        const auto name = window.subspan(ResourceHeaderStart.size());
        const auto nameLength =
            static_cast<std::size_t>(std::find(name.begin(), name.end(), 0) - name.begin());
        const std::size_t streamStart =
            ResourceHeaderStart.size() + nameLength + ResourceHeaderTail;
        if (streamStart > Image.size()) {
            throw EGameError(InvalidStreamFormatText);
        }
        Reader.Skip(streamStart);
    }

    void ReadSignature() {
        if (Reader.Remaining() < StreamSignature.size() ||
            Reader.ReadChars(StreamSignature.size()) != StreamSignature) {
            throw EGameError(InvalidStreamFormatText);
        }
    }

    void SkipFlagsPrefix() {
        if (Reader.PeekByte() < StreamFlagsMarker) {
            return;
        }
        if ((Reader.ReadByte() & StreamFlagHasIndex) != 0) {
            ReadInteger();
        }
    }

    void ReadHolder() {
        ReadShortString(); // class name
        ReadShortString(); // component name
        while (Reader.PeekByte() != static_cast<std::uint8_t>(TValueTag::EndOfList)) {
            const std::string property = ReadShortString();
            if (property != HolderListProperty) {
                throw EGameError(FormatMessage(PropertyMissingText, property));
            }
            ExpectTag(TValueTag::Collection);
            ReadCollection();
        }
        Reader.ReadByte();
        if (Reader.ReadByte() != static_cast<std::uint8_t>(TValueTag::EndOfList)) {
            throw EGameError(InvalidStreamFormatText);
        }
    }

    // A later "List" value replaces an earlier one, as any property set twice would.
    void ReadCollection() {
        Collection.Clear();
        while (Reader.PeekByte() != static_cast<std::uint8_t>(TValueTag::EndOfList)) {
            TValueTag tag = ReadTag();
            if (IsIntegerTag(tag)) {
                ReadIntegerPayload(tag); // the item's order, which the list itself gives
                tag = ReadTag();
            }
            if (tag != TValueTag::List) {
                throw EGameError(InvalidPropertyValueText);
            }
            TWaveCollectionItem& item = Collection.Add();
            while (Reader.PeekByte() != static_cast<std::uint8_t>(TValueTag::EndOfList)) {
                ReadItemProperty(item);
            }
            Reader.ReadByte();
        }
        Reader.ReadByte();
    }

    void ReadItemProperty(TWaveCollectionItem& item) {
        const std::string property = ReadShortString();
        if (property == ItemNameProperty) {
            item.SetName(ReadString());
        } else if (property == ItemLoopedProperty) {
            item.Looped = ReadBoolean();
        } else if (property == ItemMaxPlayingCountProperty) {
            item.SetMaxPlayingCount(ReadInteger());
        } else if (property == ItemWaveProperty) {
            ExpectTag(TValueTag::Binary);
            item.Wave = ReadWaveImage(Reader.ReadBytes(Reader.ReadUInt32()));
        } else {
            throw EGameError(FormatMessage(PropertyMissingText, property));
        }
    }

    static bool IsIntegerTag(TValueTag tag) {
        return tag == TValueTag::Int8 || tag == TValueTag::Int16 || tag == TValueTag::Int32;
    }

    TValueTag ReadTag() { return static_cast<TValueTag>(Reader.ReadByte()); }

    void ExpectTag(TValueTag expected) {
        if (ReadTag() != expected) {
            throw EGameError(InvalidPropertyValueText);
        }
    }

    std::int32_t ReadIntegerPayload(TValueTag tag) {
        switch (tag) {
        case TValueTag::Int8:
            return Reader.ReadInt8();
        case TValueTag::Int16:
            return Reader.ReadInt16();
        case TValueTag::Int32:
            return Reader.ReadInt32();
        default:
            throw EGameError(InvalidPropertyValueText);
        }
    }

    std::int32_t ReadInteger() { return ReadIntegerPayload(ReadTag()); }

    bool ReadBoolean() {
        switch (ReadTag()) {
        case TValueTag::False:
            return false;
        case TValueTag::True:
            return true;
        default:
            throw EGameError(InvalidPropertyValueText);
        }
    }

    std::string ReadString() {
        switch (ReadTag()) {
        case TValueTag::String:
            return ReadShortString();
        case TValueTag::LongString:
            return Reader.ReadChars(Reader.ReadUInt32());
        default:
            throw EGameError(InvalidPropertyValueText);
        }
    }

    std::string ReadShortString() { return Reader.ReadChars(Reader.ReadByte()); }

    std::span<const std::uint8_t> Image;
    TByteReader Reader;
    TWaveCollection& Collection;
};
} // namespace

void ReadWaveCollection(std::span<const std::uint8_t> image, TWaveCollection& collection) {
    collection.Clear();
    try {
        TCollectionStreamReader(image, collection).Read();
    } catch (...) {
        collection.Clear();
        throw;
    }
}
