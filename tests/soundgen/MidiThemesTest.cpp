#include "MidiReader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {
constexpr int DrumChannel = 9;

struct TThemeFacts {
    TMidiFileRecord File;
    std::uint32_t EndTick = 0;
    std::uint32_t BarTicks = 0;
    double Seconds = 0;
    std::map<int, int> NotesPerChannel;
    std::set<int> ChannelsWithProgram;
    std::uint32_t FirstNoteOn = UINT32_MAX;
    std::uint32_t LastNoteOff = 0;
    std::vector<std::string> Faults;
};

bool IsNoteOn(const TMidiRecord& e) {
    return (e.Status & 0xF0) == 0x90 && e.Data[1] > 0;
}
bool IsNoteOff(const TMidiRecord& e) {
    return (e.Status & 0xF0) == 0x80 || ((e.Status & 0xF0) == 0x90 && e.Data[1] == 0);
}

TThemeFacts Analyse(const std::string& name) {
    TThemeFacts facts;
    facts.File = ParseMidiFile(ReadBinaryFile(std::string(ZORBIX_PROGRAM_DIR) + "/" + name));
    const double ticksPerQuarter = facts.File.Division;
    std::map<std::uint32_t, double> tempoChanges{{0, 500000.0}};
    for (const TMidiTrackRecord& track : facts.File.Tracks) {
        std::map<std::pair<int, int>, std::uint32_t> sounding;
        for (const TMidiRecord& e : track.Events) {
            if (e.Status == 0xFF && e.MetaType == 0x51) {
                tempoChanges[e.Tick] = (e.Data[0] << 16) | (e.Data[1] << 8) | e.Data[2];
            } else if (e.Status == 0xFF && e.MetaType == 0x58) {
                facts.BarTicks =
                    static_cast<std::uint32_t>(e.Data[0] * 4 * ticksPerQuarter / (1 << e.Data[1]));
            } else if ((e.Status & 0xF0) == 0xC0) {
                facts.ChannelsWithProgram.insert(e.Status & 0x0F);
            } else if (IsNoteOn(e)) {
                const std::pair key{e.Status & 0x0F, int{e.Data[0]}};
                if (sounding.contains(key)) {
                    facts.Faults.push_back(name + ": key struck again while sounding");
                }
                sounding[key] = e.Tick;
                ++facts.NotesPerChannel[key.first];
                facts.FirstNoteOn = std::min(facts.FirstNoteOn, e.Tick);
            } else if (IsNoteOff(e)) {
                if (sounding.erase({e.Status & 0x0F, int{e.Data[0]}}) == 0) {
                    facts.Faults.push_back(name + ": release of a key not sounding");
                }
                facts.LastNoteOff = std::max(facts.LastNoteOff, e.Tick);
            }
        }
        if (!sounding.empty()) {
            facts.Faults.push_back(name + ": a note still sounds at the end of its track");
        }
        const std::uint32_t end = track.Events.back().Tick;
        if (facts.EndTick != 0 && end != facts.EndTick) {
            facts.Faults.push_back(name + ": tracks end at different ticks");
        }
        facts.EndTick = end;
    }
    for (auto it = tempoChanges.begin(); it != tempoChanges.end(); ++it) {
        const auto next = std::next(it);
        const std::uint32_t until = next == tempoChanges.end() ? facts.EndTick : next->first;
        facts.Seconds += (until - it->first) / ticksPerQuarter * it->second / 1e6;
    }
    return facts;
}

class MidiTheme : public testing::TestWithParam<const char*> {};
} // namespace

// Guards the loop: the player restarts at the end-of-track, so every track must close at
// the same bar line, with nothing left sounding and no silent gap on either side of it.
TEST_P(MidiTheme, ParsesBackAndEndsOnABarLineReadyToLoop) {
    const TThemeFacts facts = Analyse(GetParam());
    EXPECT_TRUE(facts.Faults.empty()) << facts.Faults.front();
    EXPECT_EQ(facts.File.Format, 1);
    EXPECT_GT(facts.File.Division, 0);
    ASSERT_GT(facts.BarTicks, 0u);
    EXPECT_EQ(facts.EndTick % facts.BarTicks, 0u);
    EXPECT_EQ(facts.FirstNoteOn, 0u);
    const auto beat = static_cast<std::uint32_t>(facts.File.Division);
    EXPECT_GE(facts.LastNoteOff + beat, facts.EndTick);
}

TEST_P(MidiTheme, LastsBetweenOneAndTwoMinutes) {
    const TThemeFacts facts = Analyse(GetParam());
    EXPECT_GE(facts.Seconds, 60.0);
    EXPECT_LE(facts.Seconds, 120.0);
}

// A tune, not a drum loop: drums on channel 10 and at least a melody, a bass and chords on
// other channels, each with its instrument chosen before it plays.
TEST_P(MidiTheme, HasDrumsOnChannelTenAndInstrumentedMelodicParts) {
    const TThemeFacts facts = Analyse(GetParam());
    EXPECT_GT(facts.NotesPerChannel.contains(DrumChannel) ? facts.NotesPerChannel.at(DrumChannel)
                                                          : 0,
              100);
    int melodic = 0;
    for (const auto& [channel, count] : facts.NotesPerChannel) {
        if (channel != DrumChannel) {
            ++melodic;
            EXPECT_TRUE(facts.ChannelsWithProgram.contains(channel)) << "channel " << channel;
        }
    }
    EXPECT_GE(melodic, 3);
}

INSTANTIATE_TEST_SUITE_P(Themes, MidiTheme,
                         testing::Values("theme1.mid", "theme2.mid", "theme3.mid"));
