#pragma once
// A sequencer that plays nothing and writes down what it is asked, so the command strings'
// effects can be checked without sound. The test ends a play by calling EndPlay.

#include "platform/mci/MciNotifyTarget.h"
#include "platform/mci/MidiSequencer.h"

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

struct TSequencerRecorder {
    // "open <end tick>", "play from <tick>", "stop", "close".
    std::vector<std::string> Events;
    bool NoOutput = false;        // the factory then makes nothing
    std::uint32_t StopTick = 0;   // what Stop reports
    TSequencerEnd OnEnd;          // of the latest sequencer
    std::uint32_t PlayNumber = 0; // of the latest play

    TSequencerFactory Factory();
    // Reports the end of the latest play, as the audio thread would.
    void EndPlay() const { OnEnd(PlayNumber); }
};

struct TRecordingTarget : IMciNotifyTarget {
    std::vector<std::uint32_t> Flags;
    std::thread::id Thread;
    void MciNotify(std::uint32_t flags) override {
        Flags.push_back(flags);
        Thread = std::this_thread::get_id();
    }
};

// Runs the event loop until the queued notifications have been handed out.
void DeliverNotifications();
