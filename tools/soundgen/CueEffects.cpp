#include "game/EffectNames.h"
#include "tools/soundgen/Effects.h"

namespace {
// Each cue belongs to one moment of the game; a second start of it cuts the first.
constexpr std::int32_t CuePlayingLimit = 1;

TSound NewGame() {
    TSound sound(1.0);
    // A quick run up the C major chord, lead and bell an octave apart...
    const double run[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i) {
        const double start = 0.07 * i;
        AddTone(sound, {.Start = start,
                        .Length = 0.2,
                        .FromHz = KeyHz(run[i]),
                        .Shape = TShape::Square,
                        .Envelope = {.Attack = 0.004, .Decay = 0.12, .Release = 0.05},
                        .Gain = 0.35});
        AddTone(sound, {.Start = start,
                        .Length = 0.25,
                        .FromHz = KeyHz(run[i] + 12),
                        .Shape = TShape::Bell,
                        .Envelope = {.Attack = 0.002, .Decay = 0.1, .Release = 0.06},
                        .Gain = 0.25});
    }
    // ...landing on a bright, shimmering chord with a little sparkle on top.
    for (const double key : {84.0, 88.0, 91.0}) {
        AddTone(sound, {.Start = 0.3,
                        .Length = 0.7,
                        .FromHz = KeyHz(key),
                        .Shape = TShape::Triangle,
                        .Envelope = {.Attack = 0.01, .Decay = 0.45, .Release = 0.3},
                        .Gain = 0.3,
                        .VibratoHz = 5.5,
                        .VibratoCents = 10});
    }
    AddNoise(sound, {.Start = 0.3,
                     .Length = 0.55,
                     .FromHz = 5000,
                     .ToHz = 8000,
                     .Q = 5,
                     .Envelope = {.Attack = 0.01, .Decay = 0.15, .Release = 0.2},
                     .Gain = 0.08,
                     .Seed = 71});
    return sound;
}

TSound Life() {
    TSound sound(1.25);
    // Two octaves of G major rising fast, then a twinkle at the top.
    const double run[] = {67, 71, 74, 79, 83, 86};
    for (int i = 0; i < 6; ++i) {
        AddTone(sound, {.Start = 0.055 * i,
                        .Length = 0.26,
                        .FromHz = KeyHz(run[i]),
                        .Shape = TShape::Bell,
                        .Envelope = {.Attack = 0.002, .Decay = 0.12, .Release = 0.06},
                        .Gain = 0.5,
                        .BellRatio = 3.0,
                        .BellIndex = 1.4});
    }
    const double twinkle[] = {91, 95, 91, 98};
    for (int i = 0; i < 4; ++i) {
        const bool last = i == 3;
        AddTone(sound, {.Start = 0.42 + 0.08 * i,
                        .Length = last ? 0.58 : 0.2,
                        .FromHz = KeyHz(twinkle[i]),
                        .Shape = TShape::Triangle,
                        .Envelope = {.Attack = 0.003, .Decay = last ? 0.25 : 0.1, .Release = 0.08},
                        .Gain = 0.4,
                        .VibratoHz = 6,
                        .VibratoCents = last ? 15.0 : 0.0});
    }
    return sound;
}

TSound Speed() {
    TSound sound(1.0);
    // A buzzing tone winding down like a toy running out of spring: pitch and wobble both
    // slow as it sinks.
    AddTone(sound, {.Length = 1.0,
                    .FromHz = KeyHz(84),
                    .ToHz = KeyHz(62),
                    .Shape = TShape::Square,
                    .Envelope = {.Attack = 0.01, .Release = 0.2},
                    .Gain = 0.4,
                    .TremoloFromHz = 18,
                    .TremoloToHz = 3,
                    .TremoloDepth = 0.8});
    AddTone(sound, {.Length = 1.0,
                    .FromHz = KeyHz(72),
                    .ToHz = KeyHz(50),
                    .Envelope = {.Attack = 0.01, .Release = 0.2},
                    .Gain = 0.45,
                    .TremoloFromHz = 18,
                    .TremoloToHz = 3,
                    .TremoloDepth = 0.8});
    return sound;
}

TSound GameOver() {
    TSound sound(2.2);
    // A slow walk down C minor to its tonic, the last note sagging a little, over the chords
    // A-flat major, G major and C minor.
    const double melody[] = {67, 65, 63, 62};
    for (int i = 0; i < 4; ++i) {
        AddTone(sound, {.Start = 0.28 * i,
                        .Length = 0.3,
                        .FromHz = KeyHz(melody[i]),
                        .Shape = TShape::Square,
                        .Envelope = {.Attack = 0.015, .Decay = 0.6, .Release = 0.06},
                        .Gain = 0.35,
                        .VibratoHz = 5,
                        .VibratoCents = 8});
    }
    AddTone(sound, {.Start = 1.12,
                    .Length = 1.08,
                    .FromHz = KeyHz(60),
                    .ToHz = KeyHz(59.6),
                    .Shape = TShape::Square,
                    .Envelope = {.Attack = 0.015, .Decay = 0.9, .Release = 0.4},
                    .Gain = 0.35,
                    .VibratoHz = 5,
                    .VibratoCents = 18});
    struct TChord {
        double Start;
        double Length;
        double Keys[4]; // bass first
    };
    const TChord chords[] = {{0.0, 0.58, {44, 56, 60, 63}},
                             {0.56, 0.58, {43, 55, 59, 62}},
                             {1.12, 1.08, {36, 48, 55, 63}}};
    for (const TChord& chord : chords) {
        for (int i = 0; i < 4; ++i) {
            AddTone(sound, {.Start = chord.Start,
                            .Length = chord.Length,
                            .FromHz = KeyHz(chord.Keys[i]),
                            .Shape = i == 0 ? TShape::Sine : TShape::Triangle,
                            .Envelope = {.Attack = 0.03, .Decay = 1.2, .Release = 0.2},
                            .Gain = i == 0 ? 0.35 : 0.14});
        }
    }
    return sound;
}
} // namespace

std::vector<TEffect> CueEffects() {
    std::vector<TEffect> cues;
    cues.push_back({std::string(NewGameEffect), CuePlayingLimit, NewGame()});
    cues.push_back({std::string(LifeEffect), CuePlayingLimit, Life()});
    cues.push_back({std::string(SpeedEffect), CuePlayingLimit, Speed()});
    cues.push_back({std::string(GameOverEffect), CuePlayingLimit, GameOver()});
    return cues;
}
