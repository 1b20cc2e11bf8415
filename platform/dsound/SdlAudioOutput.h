#pragma once
// The default audio output through SDL: 16-bit stereo at the device's own rate, in short
// periods so that a sound started now is heard within a few milliseconds. Only SDL's audio
// subsystem is started, without its signal handlers, so Ctrl+C and SIGTERM still end the
// program.

#include "platform/dsound/Mixer.h"

#include <cstdint>
#include <memory>

class TSdlAudioOutput {
public:
    // Frames per period asked of SDL: 256 at 44.1 kHz is 5.8 ms.
    static constexpr std::uint16_t PeriodFrames = 256;

    // Starts SDL's audio and opens the default output, silent until Start; null when there is
    // no output (no driver, no card, no sound server).
    static std::unique_ptr<TSdlAudioOutput> Open();
    ~TSdlAudioOutput();
    TSdlAudioOutput(const TSdlAudioOutput&) = delete;
    TSdlAudioOutput& operator=(const TSdlAudioOutput&) = delete;

    TMixFormat Format() const { return OutputFormat; }
    // From now on SDL's audio thread asks mixer for every period; mixer outlives this object.
    void Start(TMixer& mixer);

private:
    TSdlAudioOutput() = default;
    static void FillPeriod(void* self, std::uint8_t* stream, int bytes);

    std::uint32_t Device = 0;
    TMixFormat OutputFormat;
    TMixer* Source = nullptr; // set under SDL's device lock, read by its audio thread
};
