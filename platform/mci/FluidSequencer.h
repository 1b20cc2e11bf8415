#pragma once
// Plays songs with FluidSynth through its own audio output, independent of the effects
// device, with a General MIDI SoundFont (silent but still timed when the file is absent).
// Each open song gets its own synthesizer and output, so nothing is shared between devices.

#include "platform/mci/MidiSequencer.h"

#include <string>
#include <vector>

struct TFluidOutput {
    std::vector<std::string> Drivers; // FluidSynth audio drivers, tried in order
    std::string FileName;             // where the "file" driver writes
    std::string SoundFont;
};

// The sound server first, then the sound card; the SoundFont Debian installs.
TFluidOutput DefaultFluidOutput();

TSequencerFactory FluidSequencerFactory(TFluidOutput output);
