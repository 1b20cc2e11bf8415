// The mixer's arithmetic, driven directly: what a player hears is these numbers.

#include "platform/dsound/Mixer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
constexpr std::uint32_t OutputRate = 44100;

std::vector<std::uint8_t> Pcm16(const std::vector<std::int16_t>& values) {
    std::vector<std::uint8_t> bytes;
    for (const std::int16_t value : values) {
        const auto bits = static_cast<std::uint16_t>(value);
        bytes.push_back(static_cast<std::uint8_t>(bits & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(bits >> 8));
    }
    return bytes;
}

TVoiceSamples Mono16(const std::vector<std::uint8_t>& bytes) {
    return {bytes.data(), static_cast<std::uint32_t>(bytes.size() / 2), 1, 16};
}

TVoiceControls AtRate(std::uint32_t rate, bool looping = false) {
    return {rate, 1.0f, 1.0f, looping};
}

std::vector<std::int16_t> MixFrames(TMixer& mixer, std::uint32_t frames) {
    std::vector<std::int16_t> output(std::size_t{2} * frames, 12345);
    mixer.Mix(output.data(), frames);
    return output;
}

std::vector<std::int16_t> LeftChannel(const std::vector<std::int16_t>& stereo) {
    std::vector<std::int16_t> left;
    for (std::size_t i = 0; i < stereo.size(); i += 2) {
        left.push_back(stereo[i]);
    }
    return left;
}
} // namespace

TEST(Mixer, OverlappingWavesOfDifferentEncodingsAddUpSampleBySample) {
    TMixer mixer({OutputRate, 4}); // small passes, so the sum also crosses pass boundaries
    const auto ramp = Pcm16({100, 200, 300, 400, 500, 600, 700, 800, 900, 1000});
    // 8-bit stereo, unsigned around 128: left +1, +2, +3 steps of 256; right the negatives.
    const std::vector<std::uint8_t> stereo8{129, 127, 130, 126, 131, 125};
    mixer.Start(Mono16(ramp), 0, AtRate(OutputRate));
    const auto before = MixFrames(mixer, 3);
    mixer.Start({stereo8.data(), 3, 2, 8}, 0, AtRate(OutputRate));
    const auto after = MixFrames(mixer, 7);

    EXPECT_EQ(before, (std::vector<std::int16_t>{100, 100, 200, 200, 300, 300}));
    EXPECT_EQ(after,
              (std::vector<std::int16_t>{400 + 256, 400 - 256, 500 + 512, 500 - 512, 600 + 768,
                                         600 - 768, 700, 700, 800, 800, 900, 900, 1000, 1000}));
}

TEST(Mixer, ConvertsRecordingRatesToTheOutputRateByInterpolating) {
    const auto samples = Pcm16({0, 1000, 2000, 3000, 4000});
    TMixer mixer({OutputRate, 256});

    mixer.Start(Mono16(samples), 0, AtRate(OutputRate / 2));
    // Half the rate: every recorded sample, then the midpoint towards the next; the last one
    // is held, not blended with silence.
    EXPECT_EQ(
        LeftChannel(MixFrames(mixer, 11)),
        (std::vector<std::int16_t>{0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4000, 0}));

    mixer.Start(Mono16(samples), 0, AtRate(OutputRate * 2));
    EXPECT_EQ(LeftChannel(MixFrames(mixer, 4)), (std::vector<std::int16_t>{0, 2000, 4000, 0}));
}

TEST(Mixer, LoudOverlapsSaturateInsteadOfWrappingAround) {
    const auto loud = Pcm16({30000, -30000, 20000});
    TMixer mixer({OutputRate, 64});
    mixer.Start(Mono16(loud), 0, AtRate(OutputRate));
    mixer.Start(Mono16(loud), 0, AtRate(OutputRate));

    EXPECT_EQ(LeftChannel(MixFrames(mixer, 3)), (std::vector<std::int16_t>{32767, -32768, 32767}));
}

TEST(Mixer, LoopingVoiceWrapsAroundAndSingleVoiceEndsAndFreesItsSlot) {
    const auto samples = Pcm16({10, 20, 30});
    TMixer mixer({OutputRate, 4});
    const TVoiceHandle loop = mixer.Start(Mono16(samples), 1, AtRate(OutputRate, true));
    const TVoiceHandle once = mixer.Start(Mono16(samples), 0, AtRate(OutputRate));

    EXPECT_EQ(LeftChannel(MixFrames(mixer, 8)),
              (std::vector<std::int16_t>{30, 50, 40, 20, 30, 10, 20, 30}));
    EXPECT_TRUE(mixer.Query(loop).Playing);
    EXPECT_TRUE(mixer.Query(loop).Looping);
    EXPECT_EQ(mixer.Query(loop).Frame, 0u);
    EXPECT_FALSE(mixer.Query(once).Playing);
    // The ended voice's slot serves a new start, which the old handle does not answer to.
    const TVoiceHandle next = mixer.Start(Mono16(samples), 0, AtRate(OutputRate));
    EXPECT_EQ(next.Slot, once.Slot);
    EXPECT_FALSE(mixer.Query(once).Playing);
    EXPECT_TRUE(mixer.Query(next).Playing);
}

TEST(Mixer, FullVoiceTableRefusesAnotherStart) {
    const auto samples = Pcm16({1, 2});
    TMixer mixer({OutputRate, 16});
    for (std::size_t i = 0; i < TMixer::MaxVoices; ++i) {
        ASSERT_TRUE(mixer.Start(Mono16(samples), 0, AtRate(OutputRate, true)).Valid());
    }
    EXPECT_FALSE(mixer.Start(Mono16(samples), 0, AtRate(OutputRate)).Valid());
}
