#pragma once
// The General MIDI instruments (programs counted from 0) and percussion keys the themes use.

namespace gm {
constexpr int ElectricPiano = 4;
constexpr int Celesta = 8;
constexpr int Vibraphone = 11;
constexpr int Marimba = 12;
constexpr int Xylophone = 13;
constexpr int SteelGuitar = 25;
constexpr int FingerBass = 33;
constexpr int SynthBass = 38;
constexpr int PizzicatoStrings = 45;
constexpr int Strings = 48;
constexpr int SlowStrings = 49;
constexpr int Tuba = 58;
constexpr int BrassSection = 61;
constexpr int Clarinet = 71;
constexpr int Flute = 73;
constexpr int SquareLead = 80;
constexpr int WarmPad = 89;

constexpr int Kick = 36;
constexpr int SideStick = 37;
constexpr int Snare = 38;
constexpr int Clap = 39;
constexpr int ClosedHat = 42;
constexpr int LowTom = 45;
constexpr int PedalHat = 44;
constexpr int OpenHat = 46;
constexpr int MidTom = 47;
constexpr int Crash = 49;
constexpr int HighTom = 50;
constexpr int Ride = 51;
constexpr int Tambourine = 54;
constexpr int Shaker = 70;
} // namespace gm
