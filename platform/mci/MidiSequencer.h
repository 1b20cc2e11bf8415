#pragma once
// What plays an open song: the FluidSynth player in the game, a recorder in tests.

#include "platform/mci/MidiSong.h"

#include <cstdint>
#include <functional>
#include <memory>

class IMidiSequencer {
public:
    virtual ~IMidiSequencer() = default;
    // Plays from fromTick on. Once the song passes its last event, calls the end handler
    // with playNumber, from any thread; a play that was stopped first never reports.
    virtual void Play(std::uint32_t fromTick, std::uint32_t playNumber) = 0;
    // Silences at once; returns the tick it had reached.
    virtual std::uint32_t Stop() = 0;
};

using TSequencerEnd = std::function<void(std::uint32_t playNumber)>;
// Makes the sequencer of one opened song; null when nothing can be played (no output).
using TSequencerFactory = std::function<std::unique_ptr<IMidiSequencer>(
    std::shared_ptr<const TMidiSong> song, TSequencerEnd onEnd)>;
