#include "game/EffectNames.h"
#include "tools/soundgen/Effects.h"

namespace {
// The slot falls once per miss; a new fall cuts an old one.
constexpr std::int32_t MotionPlayingLimit = 1;

TSound Fall() {
    TSound sound(2.0);
    // A slide whistle dropping five octaves...
    AddTone(sound, {.Length = 1.75,
                    .FromHz = 1400,
                    .ToHz = 110,
                    .GlideSeconds = 1.6,
                    .Shape = TShape::Triangle,
                    .Envelope = {.Attack = 0.02, .Release = 0.35},
                    .Gain = 0.6,
                    .VibratoHz = 6,
                    .VibratoCents = 30});
    // ...with the rush of air sinking along with it...
    AddNoise(sound, {.Length = 1.85,
                     .FromHz = 2500,
                     .ToHz = 250,
                     .Q = 0.8,
                     .Envelope = {.Attack = 0.3, .Release = 0.5},
                     .Gain = 0.18,
                     .Seed = 901});
    // ...and a soft, deep landing far below.
    AddTone(sound, {.Start = 1.5,
                    .Length = 0.5,
                    .FromHz = 95,
                    .ToHz = 42,
                    .GlideSeconds = 0.3,
                    .Envelope = {.Attack = 0.005, .Decay = 0.14, .Release = 0.1},
                    .Gain = 0.9});
    AddNoise(sound, {.Start = 1.5,
                     .Length = 0.45,
                     .FromHz = 220,
                     .ToHz = 120,
                     .Q = 0.9,
                     .Envelope = {.Attack = 0.004, .Decay = 0.12, .Release = 0.1},
                     .Gain = 0.35,
                     .Seed = 902});
    return sound;
}

TSound NewSlot() {
    TSound sound(1.0);
    // Air rushing past as the spare flies in: rising while it approaches...
    AddNoise(sound, {.Length = 0.65,
                     .FromHz = 300,
                     .ToHz = 2600,
                     .Q = 2.2,
                     .Envelope = {.Attack = 0.45, .Release = 0.2},
                     .Gain = 0.6,
                     .Seed = 1201});
    // ...falling as it passes and settles...
    AddNoise(sound, {.Start = 0.45,
                     .Length = 0.5,
                     .FromHz = 2600,
                     .ToHz = 600,
                     .Q = 2.2,
                     .Envelope = {.Attack = 0.12, .Release = 0.35},
                     .Gain = 0.45,
                     .Seed = 1202});
    // ...and a light two-note chime as it locks into place.
    AddTone(sound, {.Start = 0.62,
                    .Length = 0.38,
                    .FromHz = KeyHz(79),
                    .Shape = TShape::Bell,
                    .Envelope = {.Attack = 0.002, .Decay = 0.12, .Release = 0.1},
                    .Gain = 0.3});
    AddTone(sound, {.Start = 0.72,
                    .Length = 0.28,
                    .FromHz = KeyHz(84),
                    .Shape = TShape::Bell,
                    .Envelope = {.Attack = 0.002, .Decay = 0.12, .Release = 0.1},
                    .Gain = 0.3});
    return sound;
}
} // namespace

std::vector<TEffect> MotionEffects() {
    std::vector<TEffect> effects;
    effects.push_back({std::string(FallEffect), MotionPlayingLimit, Fall()});
    effects.push_back({std::string(NewSlotEffect), MotionPlayingLimit, NewSlot()});
    return effects;
}
