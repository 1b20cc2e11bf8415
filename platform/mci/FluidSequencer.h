#pragma once
// Plays songs with FluidSynth, rendered into the shared audio output beside the effects, so
// the music is heard wherever SDL sends the sound. Each open song gets its own synthesizer at
// the output's rate; its player is timed by the samples rendered, so a song advances exactly
// as fast as it is heard. Without a SoundFont a song is silent but still timed, and it ends
// and loops as usual.

#include "platform/dsound/AudioSource.h"
#include "platform/dsound/SdlAudioOutput.h"
#include "platform/mci/MidiSequencer.h"

#include <fluidsynth/types.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class TFluidSequencer final : public IMidiSequencer, public IAudioSource {
public:
    TFluidSequencer(std::shared_ptr<const TMidiSong> song, TSequencerEnd onEnd);
    // Detaches from the output first, so no period renders a synthesizer that is going.
    ~TFluidSequencer() override;
    TFluidSequencer(const TFluidSequencer&) = delete;
    TFluidSequencer& operator=(const TFluidSequencer&) = delete;

    // Makes the synthesizer at rate with soundFont (none when empty) and loads the song.
    bool Open(const std::string& soundFont, std::uint32_t rate);
    // Renders into output from now on, holding it open until this sequencer goes. False when
    // the output takes no more sources.
    bool AttachTo(std::shared_ptr<TSdlAudioOutput> output);

    void Play(std::uint32_t fromTick, std::uint32_t playNumber) override;
    std::uint32_t Stop() override;
    // The audio thread's part (or a benchmark's, with no output attached).
    void AddTo(float* sums, std::uint32_t frames) override;

private:
    static int OnTick(void* self, int tick);

    const std::shared_ptr<const TMidiSong> Song;
    const TSequencerEnd OnEnd;
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    fluid_player_t* Player = nullptr;
    std::shared_ptr<TSdlAudioOutput> Output;

    // Held while the audio thread renders, and while the user-interface thread moves the
    // player, so that the two never touch FluidSynth at once.
    std::mutex RenderLock;
    std::uint32_t CurrentPlay = 0; // 0: nothing to report
    // Set once the player shows a tick before the end, so that a tick left over from the
    // previous play (before the seek has been applied) cannot end this one.
    bool Armed = false;
    std::uint32_t EndedPlay = 0; // reported by the player during the render in progress
    std::vector<float> Rendered; // audio thread only
};

// The music of the game: every opened song on its own sequencer, with soundFont, in the
// shared output; no sequencer (the open fails) when there is no output.
TSequencerFactory FluidSequencerFactory(std::string soundFont);
// The same with the SoundFont found where SoundFontSearch.h says, and FluidSynth's messages
// kept off standard error.
TSequencerFactory DefaultFluidSequencerFactory();
// FluidSynth's log lines go nowhere: a missing SoundFont or output is answered by silence.
void SilenceFluidSynth();
