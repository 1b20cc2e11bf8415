#pragma once
// Sums every playing voice into 16-bit stereo at the output's rate. The user-interface
// thread starts, changes and stops voices in a fixed table under a short lock; the audio
// thread copies the table, mixes the copy without any lock and writes the positions back.
// Nothing is allocated after construction.

#include "platform/dsound/AudioSource.h"
#include "platform/dsound/VoiceRenderer.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

// The output: interleaved 16-bit stereo frames at Rate (above 0); Mix is asked for any
// count, and works through it FramesPerPass at a time.
struct TMixFormat {
    std::uint32_t Rate = 44100;
    std::uint32_t FramesPerPass = 256;
};

// Names one start of a voice; a later start in the same slot does not answer to it.
struct TVoiceHandle {
    std::int32_t Slot = -1;
    std::uint32_t Ticket = 0;
    bool Valid() const { return Slot >= 0; }
};

struct TVoiceState {
    bool Playing = false;
    bool Looping = false;
    std::uint32_t Frame = 0; // the next frame to be heard
};

// Rounds and saturates sums into samples: overlapping loud sounds clip instead of wrapping
// around into a crackle.
void ConvertToSamples(const float* sums, std::int16_t* samples, std::size_t count);

class TMixer final : public IAudioSource {
public:
    static constexpr std::size_t MaxVoices = 64;

    explicit TMixer(TMixFormat format);
    TMixer(const TMixer&) = delete;
    TMixer& operator=(const TMixer&) = delete;

    TMixFormat Format() const { return OutputFormat; }

    // User-interface side. Start returns an invalid handle when every slot is taken. The
    // samples' bytes must stay put until the voice has ended, or until Stop and then
    // WaitForRunningPass have returned.
    TVoiceHandle Start(const TVoiceSamples& samples, std::uint32_t frame,
                       const TVoiceControls& controls);
    TVoiceState Query(TVoiceHandle voice) const;
    void Update(TVoiceHandle voice, const TVoiceControls& controls);
    void Seek(TVoiceHandle voice, std::uint32_t frame);
    // Returns where it was (Playing false if it had already ended).
    TVoiceState Stop(TVoiceHandle voice);
    // Returns once no mix pass that may have read a stopped voice's samples is running.
    void WaitForRunningPass() const;

    // Audio side: adds every playing voice to sums in one pass.
    void AddTo(float* sums, std::uint32_t frames) override;
    // Audio side, for a mixer without an output: fills frames * 2 samples with the voices alone.
    void Mix(std::int16_t* output, std::uint32_t frames);
    // Passes begun so far; a voice started when this read n is heard from pass n + 1 on.
    std::uint64_t PassesStarted() const { return StartedPasses.load(); }

private:
    struct TVoice {
        TVoicePlayback Playback;
        std::uint32_t Ticket = 0;
        std::uint32_t Revision = 0; // changes whenever the user-interface side moves it
    };

    TVoice* Find(TVoiceHandle voice);
    const TVoice* Find(TVoiceHandle voice) const;
    std::uint64_t StepFor(std::uint32_t rate) const;
    std::uint32_t CopyActiveVoices();
    void WriteBackVoices(std::uint32_t count);

    const TMixFormat OutputFormat;

    mutable std::mutex TableLock;
    std::array<TVoice, MaxVoices> Voices{};
    std::uint32_t NextTicket = 1;
    bool PassRunning = false;

    // Audio thread only.
    std::array<TVoice, MaxVoices> PassVoices{};
    std::array<std::uint32_t, MaxVoices> PassSlots{};
    std::vector<float> Accumulator;

    std::atomic<std::uint64_t> StartedPasses{0};
    mutable std::atomic<std::uint64_t> FinishedPasses{0};
};
