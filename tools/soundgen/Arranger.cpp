#include "tools/soundgen/Arranger.h"

#include "tools/soundgen/Notation.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {
const std::map<std::string_view, std::vector<int>, std::less<>> ChordQualities = {
    {"", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
    {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}}, {"sus4", {0, 5, 7}},
    {"dim", {0, 3, 6}},    {"6", {0, 4, 7, 9}},     {"m6", {0, 3, 7, 9}},
};
constexpr int NaturalRoots[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G

TChord ParseChord(std::string_view name) {
    if (name.empty() || name.front() < 'A' || name.front() > 'G') {
        throw std::invalid_argument("unknown chord '" + std::string(name) + "'");
    }
    int root = NaturalRoots[name.front() - 'A'];
    name.remove_prefix(1);
    if (!name.empty() && (name.front() == '#' || name.front() == 'b')) {
        root += name.front() == '#' ? 1 : -1;
        name.remove_prefix(1);
    }
    const auto quality = ChordQualities.find(name);
    if (quality == ChordQualities.end()) {
        throw std::invalid_argument("unknown chord quality '" + std::string(name) + "'");
    }
    return {(root + 12) % 12, quality->second};
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::string WithoutSpaces(std::string_view text) {
    std::string steps;
    for (const char c : text) {
        if (c != ' ') {
            steps += c;
        }
    }
    return steps;
}

// The lowest key of the pitch class at or above the given key.
int KeyAtOrAbove(int pitchClass, int lowest) {
    return lowest + ((pitchClass - lowest) % 12 + 12) % 12;
}

// The inversion of the chord, stacked upwards from lowestKey, whose average key lies
// nearest the previous voicing's: chords then move smoothly instead of jumping.
std::vector<int> Voice(const TChord& chord, int lowestKey, double& centre) {
    std::vector<int> best;
    double bestDistance = 1e9;
    const std::size_t count = chord.Intervals.size();
    for (std::size_t inversion = 0; inversion < count; ++inversion) {
        std::vector<int> keys;
        int previous = lowestKey - 1;
        for (std::size_t i = 0; i < count; ++i) {
            const int pitchClass = chord.Root + chord.Intervals[(inversion + i) % count];
            previous = KeyAtOrAbove(pitchClass, previous + 1);
            keys.push_back(previous);
        }
        double mean = 0;
        for (const int key : keys) {
            mean += key;
        }
        mean /= static_cast<double>(count);
        if (std::abs(mean - centre) < bestDistance) {
            bestDistance = std::abs(mean - centre);
            best = keys;
        }
    }
    double mean = 0;
    for (const int key : best) {
        mean += key;
    }
    centre = mean / static_cast<double>(best.size());
    return best;
}

int DrumVelocity(char step) {
    switch (step) {
    case 'X':
        return 112;
    case 'x':
        return 88;
    case 'o':
        return 52;
    default:
        throw std::invalid_argument("unknown drum step '" + std::string(1, step) + "'");
    }
}

std::uint32_t StepTicks(std::uint32_t barTicks, std::size_t steps) {
    if (steps == 0 || barTicks % steps != 0) {
        throw std::invalid_argument("a pattern's steps must divide the bar evenly");
    }
    return barTicks / static_cast<std::uint32_t>(steps);
}
} // namespace

TProgression ParseProgression(std::string_view text) {
    TProgression bars;
    while (true) {
        const std::size_t bar = text.find('|');
        std::string_view chords = Trim(text.substr(0, bar));
        bars.emplace_back();
        while (!chords.empty()) {
            const std::size_t space = chords.find(' ');
            bars.back().push_back(ParseChord(chords.substr(0, space)));
            chords =
                space == std::string_view::npos ? std::string_view{} : Trim(chords.substr(space));
        }
        if (bars.back().empty()) {
            throw std::invalid_argument("empty bar in a progression");
        }
        if (bar == std::string_view::npos) {
            return bars;
        }
        text.remove_prefix(bar + 1);
    }
}

TSongBuilder::TSongBuilder(std::string title, double beatsPerMinute, int numerator,
                           int denominator) {
    Song.Title = std::move(title);
    Song.BeatsPerMinute = beatsPerMinute;
    Song.Numerator = numerator;
    Song.Denominator = denominator;
}

int TSongBuilder::AddPart(const TPartSetup& setup) {
    Song.Parts.push_back(
        {setup.Name, setup.Channel, setup.Program, setup.Volume, setup.Pan, setup.Reverb, {}});
    Gates.push_back(setup.Gate);
    VoicingCentres.push_back(0);
    return static_cast<int>(Song.Parts.size()) - 1;
}

// Compound metres (6/8, 12/8) pulse in dotted quarters, simple ones in their beat.
int TSongBuilder::Accent(std::uint32_t tickInBar) const {
    const bool compound = Song.Denominator == 8 && Song.Numerator % 3 == 0;
    const int pulses = compound ? Song.Numerator / 3 : Song.Numerator;
    const std::uint32_t pulseTicks = BarTicks() / static_cast<std::uint32_t>(pulses);
    if (tickInBar == 0) {
        return 10;
    }
    return tickInBar % pulseTicks == 0 ? 0 : -8;
}

void TSongBuilder::AddNote(int part, std::uint32_t start, std::uint32_t length, int key,
                           int velocity) {
    const auto sounding = static_cast<std::uint32_t>(std::lround(length * Gates[part]));
    Song.Parts[part].Notes.push_back(
        {start, std::max<std::uint32_t>(sounding, 1), key, std::clamp(velocity, 1, 127)});
}

void TSongBuilder::Melody(int part, std::string_view notation, int velocity, int transpose) {
    for (const TNote& note : ParseMelody(notation, BarTicks())) {
        AddNote(part, Cursor + note.Start, note.Length, note.Key + transpose,
                velocity + Accent(note.Start % BarTicks()));
    }
}

void TSongBuilder::Accompany(int part, const TProgression& progression, std::string_view pattern,
                             int lowestKey, int velocity) {
    const std::string steps = WithoutSpaces(pattern);
    const std::uint32_t stepTicks = StepTicks(BarTicks(), steps.size());
    double& centre = VoicingCentres[part];
    if (centre == 0) {
        centre = lowestKey + 7;
    }
    for (std::size_t bar = 0; bar < progression.size(); ++bar) {
        const auto& chords = progression[bar];
        const TChord& nextRoot = progression[(bar + 1) % progression.size()].front();
        const std::uint32_t barStart = Cursor + static_cast<std::uint32_t>(bar) * BarTicks();
        for (std::size_t step = 0; step < steps.size(); ++step) {
            const char symbol = steps[step];
            if (symbol == '-' || symbol == '.') {
                continue;
            }
            std::size_t held = 1;
            while (step + held < steps.size() && steps[step + held] == '-') {
                ++held;
            }
            const TChord& chord = chords[step * chords.size() / steps.size()];
            const int root = KeyAtOrAbove(chord.Root, lowestKey);
            const auto interval = [&](std::size_t index) {
                return index < chord.Intervals.size() ? chord.Intervals[index] : 12;
            };
            std::vector<int> keys;
            switch (symbol) {
            case 'X':
                keys = Voice(chord, lowestKey, centre);
                break;
            case 'R':
                keys = {root};
                break;
            case 'T':
                keys = {root + interval(1)};
                break;
            case 'F':
                keys = {root + interval(2)};
                break;
            case 'S':
                keys = {root + interval(3)};
                break;
            case 'O':
                keys = {root + 12};
                break;
            case 'A':
                keys = {KeyAtOrAbove(nextRoot.Root, lowestKey) - 1};
                break;
            default:
                if (symbol < '1' || symbol > '4') {
                    throw std::invalid_argument("unknown pattern step '" + std::string(1, symbol) +
                                                "'");
                }
                const auto voicing = Voice(chord, lowestKey, centre);
                keys = {voicing[static_cast<std::size_t>(symbol - '1') % voicing.size()]};
                break;
            }
            const std::uint32_t start = barStart + static_cast<std::uint32_t>(step) * stepTicks;
            const int accent = Accent(static_cast<std::uint32_t>(step) * stepTicks);
            for (const int key : keys) {
                AddNote(part, start, static_cast<std::uint32_t>(held) * stepTicks, key,
                        velocity + accent);
            }
        }
    }
}

void TSongBuilder::Drums(int part, int bars, std::span<const TDrumLine> groove,
                         std::span<const TDrumLine> fill) {
    for (int bar = 0; bar < bars; ++bar) {
        const bool useFill = bar == bars - 1 && !fill.empty();
        const std::uint32_t barStart = Cursor + static_cast<std::uint32_t>(bar) * BarTicks();
        for (const TDrumLine& line : useFill ? fill : groove) {
            const std::string steps = WithoutSpaces(line.Steps);
            const std::uint32_t stepTicks = StepTicks(BarTicks(), steps.size());
            for (std::size_t step = 0; step < steps.size(); ++step) {
                if (steps[step] == '.') {
                    continue;
                }
                Song.Parts[part].Notes.push_back(
                    {barStart + static_cast<std::uint32_t>(step) * stepTicks, stepTicks / 2,
                     line.Key, DrumVelocity(steps[step])});
            }
        }
    }
}

void TSongBuilder::Advance(int bars) {
    Cursor += static_cast<std::uint32_t>(bars) * BarTicks();
}

TSong TSongBuilder::Finish() && {
    Song.Length = Cursor;
    return std::move(Song);
}
