#include "platform/mci/FluidSequencer.h"

#include "platform/mci/SoundFontSearch.h"

#include <fluidsynth.h>

#include <algorithm>
#include <utility>

namespace {
// Frames rendered at a time; a period of any length is worked through in these steps.
constexpr std::uint32_t RenderFrames = 256;
// FluidSynth's own output gain, and the step from its range (full scale 1) to the mixer's.
// Together they set the themes' average about 8 dB below the loudest effect, so the effects
// stand out without the music sounding distant (the audio benchmark measures the balance).
constexpr double SynthGain = 0.2;
constexpr float MusicScale = 32767.0f * 1.9f;
} // namespace

void SilenceFluidSynth() {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
}

TFluidSequencer::TFluidSequencer(std::shared_ptr<const TMidiSong> song, TSequencerEnd onEnd)
    : Song(std::move(song)), OnEnd(std::move(onEnd)), Rendered(std::size_t{2} * RenderFrames) {}

TFluidSequencer::~TFluidSequencer() {
    if (Output) {
        Output->Detach(*this);
    }
    if (Player != nullptr) {
        delete_fluid_player(Player);
    }
    if (Synth != nullptr) {
        delete_fluid_synth(Synth);
    }
    if (Settings != nullptr) {
        delete_fluid_settings(Settings);
    }
}

bool TFluidSequencer::Open(const std::string& soundFont, std::uint32_t rate) {
    Settings = new_fluid_settings();
    if (Settings == nullptr) {
        return false;
    }
    fluid_settings_setnum(Settings, "synth.sample-rate", rate);
    fluid_settings_setnum(Settings, "synth.gain", SynthGain);
    // The player counts rendered samples, not the wall clock: nothing runs beside our render.
    fluid_settings_setstr(Settings, "player.timing-source", "sample");
    Synth = new_fluid_synth(Settings);
    if (Synth == nullptr) {
        return false;
    }
    if (!soundFont.empty()) {
        fluid_synth_sfload(Synth, soundFont.c_str(), 1);
    }
    // The player copies the bytes now: nothing is read from disk on the audio thread.
    Player = new_fluid_player(Synth);
    return Player != nullptr &&
           fluid_player_add_mem(Player, Song->Bytes.data(), Song->Bytes.size()) == FLUID_OK &&
           fluid_player_set_tick_callback(Player, &TFluidSequencer::OnTick, this) == FLUID_OK;
}

bool TFluidSequencer::AttachTo(std::shared_ptr<TSdlAudioOutput> output) {
    if (!output->Attach(*this)) {
        return false;
    }
    Output = std::move(output);
    return true;
}

void TFluidSequencer::Play(std::uint32_t fromTick, std::uint32_t playNumber) {
    const std::lock_guard lock(RenderLock);
    CurrentPlay = playNumber;
    Armed = false;
    fluid_player_seek(Player, static_cast<int>(fromTick));
    fluid_player_play(Player);
}

std::uint32_t TFluidSequencer::Stop() {
    const std::lock_guard lock(RenderLock);
    CurrentPlay = 0;
    fluid_player_stop(Player);
    fluid_synth_all_sounds_off(Synth, -1);
    return static_cast<std::uint32_t>(std::max(fluid_player_get_current_tick(Player), 0));
}

void TFluidSequencer::AddTo(float* sums, std::uint32_t frames) {
    std::uint32_t ended = 0;
    {
        const std::lock_guard lock(RenderLock);
        while (frames > 0) {
            const std::uint32_t now = std::min(frames, RenderFrames);
            float* rendered = Rendered.data();
            // The player's events for these samples are dispatched first, OnTick among them.
            fluid_synth_write_float(Synth, static_cast<int>(now), rendered, 0, 2, rendered, 1, 2);
            for (std::size_t i = 0; i < std::size_t{2} * now; ++i) {
                sums[i] += rendered[i] * MusicScale;
            }
            sums += std::size_t{2} * now;
            frames -= now;
        }
        ended = std::exchange(EndedPlay, 0);
    }
    if (ended != 0) {
        OnEnd(ended);
    }
}

// FluidSynth's own end comes about two seconds after the last note; looping on it would
// leave a gap, so the end is the first tick at or past the song's last event. Called during
// fluid_synth_write_float, with RenderLock held.
int TFluidSequencer::OnTick(void* self, int tick) {
    auto* sequencer = static_cast<TFluidSequencer*>(self);
    if (sequencer->CurrentPlay == 0) {
        return FLUID_OK;
    }
    if (static_cast<std::uint32_t>(std::max(tick, 0)) < sequencer->Song->EndTick) {
        sequencer->Armed = true;
    } else if (sequencer->Armed) {
        sequencer->EndedPlay = std::exchange(sequencer->CurrentPlay, 0);
    }
    return FLUID_OK;
}

TSequencerFactory FluidSequencerFactory(std::string soundFont) {
    return
        [soundFont = std::move(soundFont)](std::shared_ptr<const TMidiSong> song,
                                           TSequencerEnd onEnd) -> std::unique_ptr<IMidiSequencer> {
            std::shared_ptr<TSdlAudioOutput> output = TSdlAudioOutput::Acquire();
            if (!output) {
                return nullptr;
            }
            auto sequencer = std::make_unique<TFluidSequencer>(std::move(song), std::move(onEnd));
            if (!sequencer->Open(soundFont, output->Format().Rate)) {
                return nullptr;
            }
            sequencer->AttachTo(std::move(output));
            return sequencer;
        };
}

TSequencerFactory DefaultFluidSequencerFactory() {
    SilenceFluidSynth();
    return FluidSequencerFactory(FirstSoundFont(SoundFontPlaces()));
}
