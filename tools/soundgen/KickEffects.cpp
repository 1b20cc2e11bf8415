#include "game/EffectNames.h"
#include "tools/soundgen/Effects.h"

namespace {
struct TKickStyle {
    double PingKey; // MIDI key of the pitched ping
    TShape PingShape;
    double BodyHz;      // where the thump's pitch settles
    double BodyDrop;    // how far above that it starts
    double SpringCents; // a springy wobble on the ping, 0 for none
    double PingScoop;   // the ping slides into its note from this ratio
    double Length;
};

// Catches happen every second or so; two copies of one kick may overlap, a third cuts the
// oldest, which is long faded by then.
constexpr std::int32_t KickPlayingLimit = 2;

TSound MakeKick(const TKickStyle& style, std::uint32_t seed) {
    TSound sound(style.Length);
    AddTone(sound, {.Length = style.Length * 0.8,
                    .FromHz = style.BodyHz * style.BodyDrop,
                    .ToHz = style.BodyHz,
                    .GlideSeconds = 0.045,
                    .Envelope = {.Attack = 0.002, .Decay = 0.065, .Release = 0.05},
                    .Gain = 1.0});
    AddNoise(sound, {.Length = 0.035,
                     .FromHz = 3200,
                     .ToHz = 1800,
                     .Q = 1.2,
                     .Envelope = {.Attack = 0.001, .Decay = 0.008, .Release = 0.01},
                     .Gain = 0.45,
                     .Seed = seed});
    const double pingHz = KeyHz(style.PingKey);
    AddTone(
        sound,
        {.Start = 0.004,
         .Length = style.Length - 0.004,
         .FromHz = pingHz * style.PingScoop,
         .ToHz = pingHz,
         .GlideSeconds = 0.04,
         .Shape = style.PingShape,
         .Envelope = {.Attack = 0.003, .Decay = style.Length * 0.3, .Release = 0.06},
         .Gain = style.PingShape == TShape::Square || style.PingShape == TShape::Saw ? 0.3 : 0.5,
         .VibratoHz = 17,
         .VibratoCents = style.SpringCents,
         .BellRatio = style.PingShape == TShape::Bell && style.PingKey > 80 ? 2.0 : 3.5,
         .BellIndex = 1.6});
    return sound;
}
} // namespace

std::vector<TEffect> KickEffects() {
    // C major pentatonic from C5 to E6.
    const TKickStyle styles[] = {
        {72, TShape::Bell, 150, 2.5, 0, 1.0, 0.30},
        {74, TShape::Triangle, 170, 2.0, 0, 1.06, 0.28},
        {76, TShape::Square, 140, 3.0, 0, 1.0, 0.26},
        {79, TShape::Sine, 160, 2.2, 70, 0.94, 0.40},
        {81, TShape::Bell, 180, 2.4, 0, 1.0, 0.30},
        {84, TShape::Triangle, 190, 2.0, 0, 0.89, 0.30},
        {86, TShape::Saw, 160, 2.6, 0, 1.0, 0.24},
        {88, TShape::Bell, 200, 1.8, 35, 0.84, 0.36},
    };
    std::vector<TEffect> kicks;
    std::uint32_t seed = 0x5EED0;
    for (const TKickStyle& style : styles) {
        kicks.push_back({std::string(KickEffectNames.at(kicks.size())), KickPlayingLimit,
                         MakeKick(style, ++seed)});
    }
    return kicks;
}
