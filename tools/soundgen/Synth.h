#pragma once
// The sound effects' synthesiser: tones (sine, triangle, band-limited square and saw, a
// two-operator bell) and filtered noise, each with its own envelope, summed into a mono
// buffer of floating-point samples at a fixed rate. Everything is deterministic: the noise
// comes from a seeded generator of our own.

#include <cstdint>
#include <vector>

constexpr int EffectSampleRate = 22050;

struct TSound {
    std::vector<float> Samples;

    explicit TSound(double seconds);
    double Seconds() const { return static_cast<double>(Samples.size()) / EffectSampleRate; }
};

enum class TShape { Sine, Triangle, Square, Saw, Bell };

// Rises over Attack, decays exponentially with time constant Decay (0: no decay) and falls
// to silence over the last Release seconds of the note.
struct TEnvelope {
    double Attack = 0.004;
    double Decay = 0.0;
    double Release = 0.03;
};

struct TTone {
    double Start = 0;  // seconds into the sound
    double Length = 0; // seconds, release included
    double FromHz = 440;
    double ToHz = 0;         // 0: no glide; otherwise an exponential glide to this pitch
    double GlideSeconds = 0; // 0: the glide takes the whole note
    TShape Shape = TShape::Sine;
    TEnvelope Envelope;
    double Gain = 1.0;
    double VibratoHz = 0;
    double VibratoCents = 0;
    double TremoloFromHz = 0; // amplitude wobble whose rate glides to TremoloToHz
    double TremoloToHz = 0;
    double TremoloDepth = 0; // 0..1
    double BellRatio = 3.5;  // modulator to carrier frequency of the bell
    double BellIndex = 2.0;  // modulation depth at the start; it fades with the note
};

struct TNoise {
    double Start = 0;
    double Length = 0;
    double FromHz = 1000; // band-pass centre, gliding exponentially to ToHz
    double ToHz = 0;      // 0: fixed centre
    double Q = 1.0;
    TEnvelope Envelope;
    double Gain = 1.0;
    std::uint32_t Seed = 1;
};

void AddTone(TSound& sound, const TTone& tone);
void AddNoise(TSound& sound, const TNoise& noise);

// Pitch of a MIDI key number (69 = 440 Hz).
double KeyHz(double key);
