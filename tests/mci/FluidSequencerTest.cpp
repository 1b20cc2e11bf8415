// The FluidSynth sequencer, writing its output to /dev/null instead of a sound card.

#include "platform/mci/FluidSequencer.h"

#include "MidiBytes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {
TFluidOutput Discarded() {
    TFluidOutput output = DefaultFluidOutput();
    output.Drivers = {"file"};
    output.FileName = "/dev/null";
    return output;
}

bool WaitFor(const std::atomic<std::uint32_t>& value, std::uint32_t wanted) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (value.load() != wanted && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return value.load() == wanted;
}
} // namespace

TEST(FluidSequencer, ReportsTheEndOfEachPlayAtTheLastEventAndPlaysAgainFromTheStart) {
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(OneNoteSong(48))); // 250 ms
    std::atomic<std::uint32_t> ended{0};
    auto sequencer = FluidSequencerFactory(Discarded())(
        song, [&ended](std::uint32_t playNumber) { ended = playNumber; });
    ASSERT_NE(sequencer, nullptr);

    sequencer->Play(0, 1);
    ASSERT_TRUE(WaitFor(ended, 1));
    EXPECT_GE(sequencer->Stop(), song->EndTick);

    // Looping is a seek to the start and another play of the same player.
    sequencer->Play(0, 2);
    ASSERT_TRUE(WaitFor(ended, 2));
    sequencer->Stop();
}

TEST(FluidSequencer, WithoutAnyAudioOutputNothingIsMade) {
    auto song = std::make_shared<const TMidiSong>(*ReadMidiSong(OneNoteSong(48)));
    TFluidOutput none = Discarded();
    none.Drivers = {"no-such-driver"};
    EXPECT_EQ(FluidSequencerFactory(none)(song, [](std::uint32_t) {}), nullptr);
}
