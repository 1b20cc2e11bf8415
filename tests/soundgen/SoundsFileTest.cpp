#include "audio/wavefile/WaveCollection.h"
#include "game/EffectNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace {

class BuiltSounds : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Collection = new TWaveCollection;
        Collection->LoadCollectionFile(std::string(ZORBIX_PROGRAM_DIR) + "/Sounds.dxw");
    }
    static void TearDownTestSuite() { delete Collection; }

    static std::vector<double> Samples(const TWaveCollectionItem& item) {
        const auto& bytes = item.Wave.Samples;
        std::vector<double> samples(bytes.size() / 2);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            samples[i] =
                static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)) / 32768.0;
        }
        return samples;
    }

    static double Seconds(const TWaveCollectionItem& item) {
        return static_cast<double>(item.Wave.Samples.size()) /
               ReadWaveFormat(item.Wave.Format)->AvgBytesPerSec;
    }

    // Highest RMS over any 50 ms stretch, in dB of full scale.
    static double LoudnessDb(const std::vector<double>& samples, std::size_t rate) {
        const std::size_t window = rate / 20;
        double loudest = 0;
        for (std::size_t start = 0; start + window <= samples.size(); start += window / 10) {
            double sum = 0;
            for (std::size_t i = start; i < start + window; ++i) {
                sum += samples[i] * samples[i];
            }
            loudest = std::max(loudest, sum / static_cast<double>(window));
        }
        return 10 * std::log10(loudest);
    }

    static TWaveCollection* Collection;
};
TWaveCollection* BuiltSounds::Collection = nullptr;
} // namespace

TEST_F(BuiltSounds, HoldEveryEffectTheGamePlaysWithASmallPlayingLimit) {
    EXPECT_EQ(Collection->Count(), static_cast<int>(PlayedEffects.size()));
    for (const std::string_view effect : PlayedEffects) {
        const std::string name(effect);
        const TWaveCollectionItem& item = Collection->FindByName(name);
        EXPECT_EQ(item.Name(), name);
        EXPECT_FALSE(item.Looped) << name;
        EXPECT_GE(item.MaxPlayingCount(), 1) << name;
        EXPECT_LE(item.MaxPlayingCount(), 4) << name;
        EXPECT_TRUE(item.Wave.HasSamples()) << name;
    }
}

// Guards what the player hears: the right format for the sound device, lengths that fit
// their moments, ends that start and stop without a click, and no clipping.
TEST_F(BuiltSounds, AreShortCleanMonoPcm) {
    const std::map<std::string, std::pair<double, double>> lengths = {
        {"fall", {1.8, 2.2}}, {"newslot", {0.8, 1.2}}, {"gameover", {1.0, 2.5}}};
    for (const std::string_view effect : PlayedEffects) {
        const std::string name(effect);
        const TWaveCollectionItem& item = Collection->FindByName(name);
        const auto format = ReadWaveFormat(item.Wave.Format);
        ASSERT_TRUE(format.has_value()) << name;
        EXPECT_EQ(format->FormatTag, WaveFormatPcm) << name;
        EXPECT_EQ(format->Channels, 1) << name;
        EXPECT_EQ(format->BitsPerSample, 16) << name;
        EXPECT_TRUE(format->SamplesPerSec == 22050 || format->SamplesPerSec == 44100) << name;
        EXPECT_EQ(item.Wave.Samples.size() % 2, 0u) << name;

        const double seconds = Seconds(item);
        const auto range = lengths.contains(name)                 ? lengths.at(name)
                           : std::string(name).starts_with("kik") ? std::pair{0.1, 0.5}
                                                                  : std::pair{0.3, 1.5};
        EXPECT_GE(seconds, range.first) << name;
        EXPECT_LE(seconds, range.second) << name;

        const auto samples = Samples(item);
        EXPECT_LT(std::abs(samples.front()), 0.01) << name;
        EXPECT_LT(std::abs(samples.back()), 0.01) << name;
        double peak = 0;
        for (const double s : samples) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_LT(peak, 0.95) << name;
    }
}

TEST_F(BuiltSounds, AreLoudnessMatched) {
    std::vector<double> levels;
    for (const std::string_view effect : PlayedEffects) {
        const std::string name(effect);
        const TWaveCollectionItem& item = Collection->FindByName(name);
        levels.push_back(
            LoudnessDb(Samples(item), ReadWaveFormat(item.Wave.Format)->SamplesPerSec));
    }
    const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_LT(*loudest - *quietest, 1.5);
    EXPECT_GT(*quietest, -20.0);
}

// Eight names that all sound the same would defeat the point of drawing one at random.
TEST_F(BuiltSounds, KicksSoundDistinct) {
    for (int a = 0; a < 8; ++a) {
        for (int b = a + 1; b < 8; ++b) {
            const auto x = Samples(Collection->FindByName("kik" + std::to_string(a)));
            const auto y = Samples(Collection->FindByName("kik" + std::to_string(b)));
            double xy = 0, xx = 0, yy = 0;
            for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
                xy += x[i] * y[i];
                xx += x[i] * x[i];
                yy += y[i] * y[i];
            }
            EXPECT_LT(xy / std::sqrt(xx * yy), 0.9) << "kik" << a << " and kik" << b;
        }
    }
}
