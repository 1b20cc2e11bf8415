#include "audio/Music.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "platform/files/GameFilePlaces.h"
#include "platform/mci/Mci.h"
#include "settings/Options.h"

#include <chrono>
#include <thread>

std::array<std::string, MusicTrackCount> MusicTracks;
std::uint8_t UnplayedTracks = 0;

namespace {
constexpr std::uint8_t AllTracks = 0b111;
constexpr std::uint8_t TracksAfterStart = 0b110; // StartMusic plays 0 or 1; 1 and 2 wait
constexpr auto NotifyPause = std::chrono::milliseconds(100);

bool MusicOn() {
    return Options != nullptr && Options->MusicOn;
}
} // namespace

void InitMusicTracks() {
    UnplayedTracks = TracksAfterStart;
    // From the game's data directory, so the music plays whichever directory the game was
    // started from.
    const std::string directory = GameFilePlaces().DataDirectory;
    for (std::size_t i = 0; i < MusicTrackCount; ++i) {
        MusicTracks[i] = directory + "theme" + std::to_string(i + 1) + ".mid";
    }
}

void StartMusic(IMciNotifyTarget* mainWindow) {
    if (MusicOn()) {
        PlayMusic(MusicTracks[RandomInt(2)], mainWindow, 0);
    }
}

std::string NextMusicTrack() {
    if ((UnplayedTracks & AllTracks) == 0) {
        UnplayedTracks = AllTracks;
    }
    std::uint32_t index = RandomInt(MusicTrackCount);
    while ((UnplayedTracks & (1u << index)) == 0) {
        index = (index + 1) % MusicTrackCount;
    }
    UnplayedTracks &= static_cast<std::uint8_t>(~(1u << index));
    return MusicTracks[index];
}

void PlayMusic(const std::string& fileName, IMciNotifyTarget* notifyTarget,
               std::int32_t startPosition) {
    if (!MusicOn() || fileName.empty()) {
        return;
    }
    mciSendString("open sequencer!\"" + fileName + "\" alias mainback wait", nullptr);
    if (startPosition != -1) {
        mciSendString("seek mainback to " + std::to_string(startPosition), nullptr);
    }
    mciSendString("play mainback notify", notifyTarget);
}

void StopMusic() {
    mciSendString("stop mainback", nullptr);
    mciSendString("close mainback", nullptr);
}

void MciNotify(IMciNotifyTarget* mainWindow) {
    // Kept apart from SavedState, so a pause or interlude in progress keeps its way back.
    const std::uint8_t stateOnEntry = GameState;
    GameState = gsPaused;
    if (!AppClosing && MusicOn()) {
        mciSendString("seek mainback to 0", nullptr);
        mciSendString("play mainback notify", mainWindow);
    }
    std::this_thread::sleep_for(NotifyPause);
    GameState = stateOnEntry;
    FrameDeltaMs = 0;
}
