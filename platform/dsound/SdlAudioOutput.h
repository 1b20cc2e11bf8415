#pragma once
// The one audio output of the process, through SDL: 16-bit stereo at the device's own rate, in
// short periods so that a sound started now is heard within a few milliseconds. The effects
// and the music share it: it opens when the first of them asks for it and closes when the last
// lets go, so SDL_AUDIODRIVER decides where both are heard. Only SDL's audio subsystem is
// started (other subsystems, game controllers for one, are left to their users), without its
// signal handlers, so Ctrl+C and SIGTERM still end the program.

#include "platform/dsound/AudioSource.h"
#include "platform/dsound/Mixer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TSdlAudioOutput {
public:
    // Frames per period asked of SDL: 256 at 44.1 kHz is 5.8 ms.
    static constexpr std::uint16_t PeriodFrames = 256;
    static constexpr std::size_t MaxSources = 8;

    // The open output, opened now if nobody holds it; null when there is none (no driver, no
    // card, no sound server). The output closes when the last holder lets go.
    static std::shared_ptr<TSdlAudioOutput> Acquire();
    ~TSdlAudioOutput();
    TSdlAudioOutput(const TSdlAudioOutput&) = delete;
    TSdlAudioOutput& operator=(const TSdlAudioOutput&) = delete;

    TMixFormat Format() const { return OutputFormat; }
    // From now on source is mixed into every period. False when MaxSources are attached.
    bool Attach(IAudioSource& source);
    // Returns once the audio thread has stopped using source.
    void Detach(IAudioSource& source);

private:
    TSdlAudioOutput() = default;
    static std::shared_ptr<TSdlAudioOutput> Open();
    static void FillPeriod(void* self, std::uint8_t* stream, int bytes);
    void Fill(std::int16_t* samples, std::uint32_t frames);

    std::uint32_t Device = 0;
    TMixFormat OutputFormat;
    // Changed under SDL's device lock, read by its audio thread.
    std::array<IAudioSource*, MaxSources> Sources{};
    std::size_t SourceCount = 0;
    std::vector<float> Sums; // audio thread only
};
