#pragma once
// Builds a TSong section by section: melodies from notation, bass lines and chords from a
// chord progression and a one-bar rhythm pattern, drums from step patterns. Every call
// writes from the cursor, the start of the current section; Advance moves it on.
//
// Chords are written "C", "Am", "G7", "Fmaj7", "Dm7", "Csus4", "Bdim", "F6", "Bb"...; a
// progression is bars separated by '|', each bar one or more chords sharing it equally:
// "C | Am | F G | C".
//
// Accompaniment patterns have one character per step of a bar (spaces ignored):
//   X the whole chord, voiced near the previous one      R T F S the root, third, fifth,
//   1-4 one tone of that voicing, from the bottom            seventh (octave if none)
//   O the root an octave up    A a semitone below the next bar's root (a leading note)
//   - hold the notes before    . silence
// Drum lines have one character per step: X accented, x normal, o soft, . silence.

#include "tools/soundgen/Song.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

struct TChord {
    int Root = 0; // pitch class, C = 0
    std::vector<int> Intervals;
};
using TProgression = std::vector<std::vector<TChord>>;

// Throws std::invalid_argument for an unknown chord.
TProgression ParseProgression(std::string_view text);

struct TDrumLine {
    int Key;
    std::string_view Steps;
};

struct TPartSetup {
    std::string Name;
    int Channel = 0;
    int Program = 0;
    int Volume = 100;
    int Pan = 64;
    int Reverb = 40;
    double Gate = 0.9; // how much of each written length sounds
};

class TSongBuilder {
public:
    TSongBuilder(std::string title, double beatsPerMinute, int numerator, int denominator);

    int AddPart(const TPartSetup& setup);

    // Stresses the first beat of a bar and softens notes between beats.
    void Melody(int part, std::string_view notation, int velocity, int transpose = 0);
    void Accompany(int part, const TProgression& progression, std::string_view pattern,
                   int lowestKey, int velocity);
    // The groove on every bar of the section; the last bar plays the fill instead, if any.
    void Drums(int part, int bars, std::span<const TDrumLine> groove,
               std::span<const TDrumLine> fill = {});

    void Advance(int bars);
    // The song, ending at the cursor.
    TSong Finish() &&;

private:
    std::uint32_t BarTicks() const { return Song.BarTicks(); }
    int Accent(std::uint32_t tickInBar) const;
    void AddNote(int part, std::uint32_t start, std::uint32_t length, int key, int velocity);

    TSong Song;
    std::vector<double> Gates;
    std::vector<double> VoicingCentres;
    std::uint32_t Cursor = 0;
};
