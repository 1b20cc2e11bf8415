#include "audio/wavefile/WaveCollectionWriter.h"

#include "audio/wavefile/ByteWriter.h"
#include "audio/wavefile/ComponentStream.h"
#include "audio/wavefile/WaveImage.h"

#include <limits>
#include <string_view>

namespace {
constexpr std::string_view ResourceName = "TWAVECOLLECTIONCOMPONENT";
constexpr std::string_view ComponentName = "WaveCollection";
// Moveable, pure and discardable, as resources of this kind are marked; readers ignore it.
constexpr std::uint16_t ResourceMemoryFlags = 0x1030;

class TCollectionStreamWriter {
public:
    std::vector<std::uint8_t> Write(const TWaveCollection& collection) {
        Writer.WriteBytes(ResourceHeaderStart);
        Writer.WriteChars(ResourceName);
        Writer.WriteByte(0);
        Writer.WriteUInt16(ResourceMemoryFlags);
        const std::size_t dataSizeAt = Writer.Size();
        Writer.WriteUInt32(0);
        const std::size_t dataStart = Writer.Size();

        Writer.WriteChars(StreamSignature);
        WriteShortString(HolderClassName);
        WriteShortString(ComponentName);
        WriteShortString(HolderListProperty);
        WriteTag(TValueTag::Collection);
        for (int i = 0; i < collection.Count(); ++i) {
            WriteItem(collection.Items(i));
        }
        WriteTag(TValueTag::EndOfList); // end of the collection
        WriteTag(TValueTag::EndOfList); // end of the holder's properties
        WriteTag(TValueTag::EndOfList); // no child components

        Writer.PatchUInt32(dataSizeAt, static_cast<std::uint32_t>(Writer.Size() - dataStart));
        return std::move(Writer).Bytes();
    }

private:
    void WriteItem(const TWaveCollectionItem& item) {
        WriteTag(TValueTag::List);
        WriteShortString(ItemNameProperty);
        WriteString(item.Name());
        WriteShortString(ItemLoopedProperty);
        WriteTag(item.Looped ? TValueTag::True : TValueTag::False);
        WriteShortString(ItemMaxPlayingCountProperty);
        WriteInteger(item.MaxPlayingCount());
        WriteShortString(ItemWaveProperty);
        WriteTag(TValueTag::Binary);
        const auto image = WaveImage(item.Wave);
        Writer.WriteUInt32(static_cast<std::uint32_t>(image.size()));
        Writer.WriteBytes(image);
        WriteTag(TValueTag::EndOfList);
    }

    void WriteTag(TValueTag tag) { Writer.WriteByte(static_cast<std::uint8_t>(tag)); }

    // The shortest of the three integer forms that holds the value.
    void WriteInteger(std::int32_t value) {
        if (value >= std::numeric_limits<std::int8_t>::min() &&
            value <= std::numeric_limits<std::int8_t>::max()) {
            WriteTag(TValueTag::Int8);
            Writer.WriteInt8(static_cast<std::int8_t>(value));
        } else if (value >= std::numeric_limits<std::int16_t>::min() &&
                   value <= std::numeric_limits<std::int16_t>::max()) {
            WriteTag(TValueTag::Int16);
            Writer.WriteInt16(static_cast<std::int16_t>(value));
        } else {
            WriteTag(TValueTag::Int32);
            Writer.WriteInt32(value);
        }
    }

    // Names up to 255 characters take the short form, longer ones the long form.
    void WriteString(std::string_view text) {
        if (text.size() <= std::numeric_limits<std::uint8_t>::max()) {
            WriteTag(TValueTag::String);
            WriteShortString(text);
        } else {
            WriteTag(TValueTag::LongString);
            Writer.WriteUInt32(static_cast<std::uint32_t>(text.size()));
            Writer.WriteChars(text);
        }
    }

    void WriteShortString(std::string_view text) {
        Writer.WriteByte(static_cast<std::uint8_t>(text.size()));
        Writer.WriteChars(text);
    }

    TByteWriter Writer;
};
} // namespace

std::vector<std::uint8_t> WaveCollectionImage(const TWaveCollection& collection) {
    return TCollectionStreamWriter().Write(collection);
}
