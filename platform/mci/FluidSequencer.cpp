#include "platform/mci/FluidSequencer.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <utility>

namespace {
constexpr const char* DebianSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class TFluidSequencer : public IMidiSequencer {
public:
    TFluidSequencer(std::shared_ptr<const TMidiSong> song, TSequencerEnd onEnd)
        : Song(std::move(song)), OnEnd(std::move(onEnd)) {}
    ~TFluidSequencer() override;

    bool Open(const TFluidOutput& output);
    void Play(std::uint32_t fromTick, std::uint32_t playNumber) override;
    std::uint32_t Stop() override;

private:
    static int OnTick(void* self, int tick);

    const std::shared_ptr<const TMidiSong> Song;
    const TSequencerEnd OnEnd;
    fluid_settings_t* Settings = nullptr;
    fluid_synth_t* Synth = nullptr;
    fluid_audio_driver_t* Driver = nullptr;
    fluid_player_t* Player = nullptr;

    // Shared with FluidSynth's audio thread, which calls OnTick.
    std::mutex StateLock;
    std::uint32_t CurrentPlay = 0; // 0: nothing to report
    // Set once the player shows a tick before the end, so that a tick left over from the
    // previous play (before the seek has been applied) cannot end this one.
    bool Armed = false;
};

TFluidSequencer::~TFluidSequencer() {
    // The output goes first: it is the thread that drives the player and calls OnTick.
    if (Driver != nullptr) {
        delete_fluid_audio_driver(Driver);
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

bool TFluidSequencer::Open(const TFluidOutput& output) {
    // A missing output is expected and answered by a code, not by messages on the console.
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
    Settings = new_fluid_settings();
    if (Settings == nullptr) {
        return false;
    }
    Synth = new_fluid_synth(Settings);
    if (Synth == nullptr) {
        return false;
    }
    std::error_code error;
    if (std::filesystem::exists(output.SoundFont, error)) {
        fluid_synth_sfload(Synth, output.SoundFont.c_str(), 1);
    }
    // The player copies the bytes now: nothing is read from disk on the audio thread.
    Player = new_fluid_player(Synth);
    if (Player == nullptr ||
        fluid_player_add_mem(Player, Song->Bytes.data(), Song->Bytes.size()) != FLUID_OK ||
        fluid_player_set_tick_callback(Player, &TFluidSequencer::OnTick, this) != FLUID_OK) {
        return false;
    }
    for (const std::string& driver : output.Drivers) {
        fluid_settings_setstr(Settings, "audio.driver", driver.c_str());
        if (!output.FileName.empty()) {
            fluid_settings_setstr(Settings, "audio.file.name", output.FileName.c_str());
            fluid_settings_setstr(Settings, "audio.file.type", "raw");
        }
        Driver = new_fluid_audio_driver(Settings, Synth);
        if (Driver != nullptr) {
            return true;
        }
    }
    return false;
}

void TFluidSequencer::Play(std::uint32_t fromTick, std::uint32_t playNumber) {
    {
        const std::lock_guard lock(StateLock);
        CurrentPlay = playNumber;
        Armed = false;
    }
    fluid_player_seek(Player, static_cast<int>(fromTick));
    fluid_player_play(Player);
}

std::uint32_t TFluidSequencer::Stop() {
    {
        const std::lock_guard lock(StateLock);
        CurrentPlay = 0;
    }
    fluid_player_stop(Player);
    fluid_synth_all_sounds_off(Synth, -1);
    return static_cast<std::uint32_t>(std::max(fluid_player_get_current_tick(Player), 0));
}

// FluidSynth's own end comes about two seconds after the last note; looping on it would
// leave a gap, so the end is the first tick at or past the song's last event.
int TFluidSequencer::OnTick(void* self, int tick) {
    auto* sequencer = static_cast<TFluidSequencer*>(self);
    std::uint32_t ended = 0;
    {
        const std::lock_guard lock(sequencer->StateLock);
        if (sequencer->CurrentPlay == 0) {
            return FLUID_OK;
        }
        if (static_cast<std::uint32_t>(std::max(tick, 0)) < sequencer->Song->EndTick) {
            sequencer->Armed = true;
        } else if (sequencer->Armed) {
            ended = std::exchange(sequencer->CurrentPlay, 0);
        }
    }
    if (ended != 0) {
        sequencer->OnEnd(ended);
    }
    return FLUID_OK;
}
} // namespace

TFluidOutput DefaultFluidOutput() {
    return {{"pulseaudio", "alsa"}, "", DebianSoundFont};
}

TSequencerFactory FluidSequencerFactory(TFluidOutput output) {
    return [output = std::move(output)](std::shared_ptr<const TMidiSong> song,
                                        TSequencerEnd onEnd) -> std::unique_ptr<IMidiSequencer> {
        auto sequencer = std::make_unique<TFluidSequencer>(std::move(song), std::move(onEnd));
        if (!sequencer->Open(output)) {
            return nullptr;
        }
        return sequencer;
    };
}
