#pragma once
// The music command strings, as the game sends them (see MciCommand.h for the forms):
//   mciSendString("open sequencer!\"theme1.mid\" alias mainback wait", nullptr);
//   mciSendString("play mainback notify", mainWindow);
// Call from the user-interface thread, which runs the Qt event loop that brings the
// notifications. Unknown or failing commands return a non-zero code and change nothing.

#include "platform/mci/MciNotifyTarget.h"
#include "platform/mci/MciTypes.h"
#include "platform/mci/MidiSequencer.h"

#include <string_view>

MCIERROR mciSendString(std::string_view command, IMciNotifyTarget* notifyTarget);

// Closes every open device and plays from now on through the factory's sequencers (tests
// pass a recorder); an empty factory returns to FluidSynth.
void SetMciSequencerFactory(TSequencerFactory factory);
