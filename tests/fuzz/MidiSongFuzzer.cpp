// Any bytes as a MIDI tune: the checker refuses them or returns a song whose tempo map is
// in tick order and turns any time into a tick without running backwards, and whose time
// moves on within an hour.

#include "platform/mci/MidiSong.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<TMidiSong> song =
        ReadMidiSong(std::vector<std::uint8_t>(data, data + size));
    if (!song) {
        return 0;
    }
    if (song->Bytes.size() != size || song->Division == 0) {
        __builtin_trap();
    }
    for (std::size_t i = 1; i < song->Tempos.size(); ++i) {
        if (song->Tempos[i].Tick < song->Tempos[i - 1].Tick) {
            __builtin_trap();
        }
    }
    std::uint32_t previous = 0;
    for (const std::uint32_t milliseconds : {0u, 1u, 1000u, 60000u, 3600000u, 0xFFFFFFFFu}) {
        const std::uint32_t tick = song->TickAtMilliseconds(milliseconds);
        if (tick < previous) {
            __builtin_trap();
        }
        previous = tick;
    }
    if (previous == 0) {
        __builtin_trap();
    }
    return 0;
}
