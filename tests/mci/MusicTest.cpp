// The music half of the game: which track plays, and how it loops through notifications.

#include "audio/Music.h"

#include "MidiBytes.h"
#include "SequencerRecorder.h"
#include "core/Globals.h"
#include "core/Random.h"
#include "platform/files/ProgramDirectory.h"
#include "platform/mci/Mci.h"
#include "settings/Options.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <set>

namespace {
using TEvents = std::vector<std::string>;

std::size_t TrackIndex(const std::string& track) {
    for (std::size_t i = 0; i < MusicTrackCount; ++i) {
        if (MusicTracks[i] == track) {
            return i;
        }
    }
    return MusicTrackCount;
}

// The main window's part: every notification goes to the game's handler.
struct TMainWindow : IMciNotifyTarget {
    int Notifications = 0;
    void MciNotify(std::uint32_t) override {
        ++Notifications;
        ::MciNotify(this);
    }
};

class MusicTest : public ::testing::Test {
protected:
    MusicTest() {
        Options = std::make_unique<TOptions>();
        Options->MusicOn = true;
        GameState = gsPlaying;
        SavedState = gsTitle;
        AppClosing = false;
        SetMciSequencerFactory(Recorder.Factory());
        InitMusicTracks();
        // Track n lasts n quarter notes, so the recorder's "open" tells which one it was.
        for (std::size_t i = 0; i < MusicTrackCount; ++i) {
            WriteFileAtomically(MusicTracks[i],
                                OneNoteSong(96 * static_cast<std::uint32_t>(i + 1)));
        }
    }
    ~MusicTest() override {
        SetMciSequencerFactory({});
        Options.reset();
    }

    TSequencerRecorder Recorder;
    TMainWindow Window;
};
} // namespace

TEST_F(MusicTest, FirstTwoDrawsAfterStartUpAreTracksOneAndTwoWithOneFirstTwiceInThree) {
    int oneFirst = 0;
    constexpr int Seeds = 3000;
    for (int seed = 0; seed < Seeds; ++seed) {
        InitMusicTracks();
        RandSeed = static_cast<std::uint32_t>(seed);
        const std::size_t first = TrackIndex(NextMusicTrack());
        const std::size_t second = TrackIndex(NextMusicTrack());
        ASSERT_EQ((std::set<std::size_t>{first, second}), (std::set<std::size_t>{1, 2})) << seed;
        oneFirst += first == 1 ? 1 : 0;
    }
    EXPECT_NEAR(oneFirst / double(Seeds), 2.0 / 3.0, 0.03);
}

TEST_F(MusicTest, AfterARefillEveryTrackIsDrawnOnceBeforeAnyRepeats) {
    RandSeed = 7;
    NextMusicTrack();
    NextMusicTrack();
    for (int round = 0; round < 20; ++round) {
        std::set<std::size_t> drawn;
        for (std::size_t i = 0; i < MusicTrackCount; ++i) {
            drawn.insert(TrackIndex(NextMusicTrack()));
        }
        EXPECT_EQ(drawn, (std::set<std::size_t>{0, 1, 2})) << round;
    }
}

TEST_F(MusicTest, StartedTrackLoopsThroughItsNotificationWhateverTheWorkingDirectory) {
    const auto workingDirectory = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    StartMusic(&Window);
    std::filesystem::current_path(workingDirectory);
    EXPECT_EQ(MusicTracks[1], ProgramDirectory() + "theme2.mid");
    ASSERT_EQ(Recorder.Events.size(), 2u);
    EXPECT_TRUE(Recorder.Events[0] == "open 96" || Recorder.Events[0] == "open 192");
    EXPECT_EQ(Recorder.Events[1], "play from 0");

    GameState = gsInterlude;
    SavedState = gsPlaying;
    FrameDeltaMs = 40;
    Recorder.EndPlay();
    DeliverNotifications();
    EXPECT_EQ(Window.Notifications, 1);
    EXPECT_EQ(Recorder.Events.size(), 4u);
    EXPECT_EQ(Recorder.Events[2], "stop"); // the player is halted at the song's end
    EXPECT_EQ(Recorder.Events[3], "play from 0");
    // The interlude and its way back are as they were; the paused time is not game time.
    EXPECT_EQ(GameState, gsInterlude);
    EXPECT_EQ(SavedState, gsPlaying);
    EXPECT_EQ(FrameDeltaMs, 0u);
}

TEST_F(MusicTest, SwitchingMusicOffStopsAndClosesAndItsInterruptionRestartsNothing) {
    StartMusic(&Window);
    const TEvents started = Recorder.Events;

    // The Music menu toggle: off, then on again.
    Options->MusicOn = false;
    StopMusic();
    PlayMusic(NextMusicTrack(), &Window, 0);
    DeliverNotifications();
    TEvents expected = started;
    expected.insert(expected.end(), {"stop", "close"});
    EXPECT_EQ(Recorder.Events, expected);
    EXPECT_EQ(Window.Notifications, 1); // the interruption, which sends nothing

    Options->MusicOn = true;
    StopMusic();
    const std::string next = NextMusicTrack();
    PlayMusic(next, &Window, 0);
    expected.insert(expected.end(),
                    {"open " + std::to_string(96 * (TrackIndex(next) + 1)), "play from 0"});
    EXPECT_EQ(Recorder.Events, expected);
}

TEST_F(MusicTest, NothingIsSentWithMusicOffOrOnceTheWindowIsClosing) {
    Options->MusicOn = false;
    StartMusic(&Window);
    EXPECT_TRUE(Recorder.Events.empty());

    Options->MusicOn = true;
    StartMusic(&Window);
    TEvents expected = Recorder.Events;
    AppClosing = true;
    Recorder.EndPlay();
    DeliverNotifications();
    EXPECT_EQ(Window.Notifications, 1);
    expected.push_back("stop"); // the player halted at the song's end, and nothing more
    EXPECT_EQ(Recorder.Events, expected);
    EXPECT_EQ(GameState, gsPlaying);
    AppClosing = false;
}
