#include "MidiBytes.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

TBytes VarLen(std::uint32_t value) {
    TBytes groups{static_cast<std::uint8_t>(value & 0x7F)};
    while ((value >>= 7) != 0) {
        groups.insert(groups.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
    }
    return groups;
}

namespace {
void Append(TBytes& to, const TBytes& more) {
    to.insert(to.end(), more.begin(), more.end());
}

void AppendBigEndian(TBytes& to, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        to.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
} // namespace

TBytes SmfFile(std::uint16_t division, const std::vector<TBytes>& trackBodies) {
    TBytes file{'M', 'T', 'h', 'd'};
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, trackBodies.size() > 1 ? 1 : 0, 2);
    AppendBigEndian(file, static_cast<std::uint32_t>(trackBodies.size()), 2);
    AppendBigEndian(file, division, 2);
    for (const TBytes& body : trackBodies) {
        Append(file, {'M', 'T', 'r', 'k'});
        AppendBigEndian(file, static_cast<std::uint32_t>(body.size()), 4);
        Append(file, body);
    }
    return file;
}

TBytes OneNoteSong(std::uint32_t endTick) {
    TBytes body{0x00, 0x90, 60, 100};
    Append(body, VarLen(endTick / 2));
    Append(body, {0x80, 60, 0});
    Append(body, VarLen(endTick - endTick / 2));
    Append(body, {0xFF, 0x2F, 0x00});
    return SmfFile(96, {body});
}

void WriteFileAtomically(const std::string& path, const TBytes& bytes) {
    const std::string partial = path + ".part" + std::to_string(getpid());
    {
        std::ofstream file(partial, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(file.good()) << partial;
    }
    ASSERT_EQ(std::rename(partial.c_str(), path.c_str()), 0) << path;
}
