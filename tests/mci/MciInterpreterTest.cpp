// The command strings' effects on a recording sequencer, and the notifications they bring.

#include "platform/mci/MciInterpreter.h"

#include "MidiBytes.h"
#include "SequencerRecorder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <new>
#include <thread>

namespace {
using TEvents = std::vector<std::string>;

class MciInterpreterTest : public ::testing::Test {
protected:
    MciInterpreterTest() : Interpreter(Recorder.Factory()) {
        WriteFileAtomically(Song, OneNoteSong(384)); // two seconds
    }
    ~MciInterpreterTest() override { std::remove(Song.c_str()); }

    MCIERROR Send(const std::string& text, IMciNotifyTarget* target = nullptr) {
        return Interpreter.Send(text, target);
    }
    MCIERROR OpenSong() { return Send("open sequencer!\"" + Song + "\" alias mainback wait"); }

    const std::string Song = ::testing::TempDir() + "mci song " + std::to_string(getpid()) + ".mid";
    TSequencerRecorder Recorder;
    TMciInterpreter Interpreter;
    TRecordingTarget Window;
};
} // namespace

TEST_F(MciInterpreterTest, EndOfAPlayIsNotifiedAfterTheCommandAndTheTrackCanStartAgain) {
    ASSERT_EQ(OpenSong(), MCI_OK);
    ASSERT_EQ(Send("seek mainback to 0"), MCI_OK);
    ASSERT_EQ(Send("play mainback notify", &Window), MCI_OK);
    EXPECT_EQ(Recorder.Events, (TEvents{"open 384", "play from 0"}));

    Recorder.EndPlay();
    EXPECT_TRUE(Window.Flags.empty()); // posted, not called from inside the player
    DeliverNotifications();
    EXPECT_EQ(Window.Flags, (std::vector<std::uint32_t>{MCI_NOTIFY_SUCCESSFUL}));
    // At the end already: success at once, and nothing is played.
    ASSERT_EQ(Send("play mainback notify", &Window), MCI_OK);
    DeliverNotifications();
    EXPECT_EQ(Window.Flags.size(), 2u);

    // What the notification handler sends: the same track again from its beginning.
    ASSERT_EQ(Send("seek mainback to 0"), MCI_OK);
    ASSERT_EQ(Send("play mainback notify", &Window), MCI_OK);
    ASSERT_EQ(Send("stop mainback"), MCI_OK);
    ASSERT_EQ(Send("close mainback"), MCI_OK);
    EXPECT_EQ(Recorder.Events,
              (TEvents{"open 384", "play from 0", "stop", "play from 0", "stop", "close"}));
    DeliverNotifications();
    EXPECT_EQ(Window.Flags, (std::vector<std::uint32_t>{
                                MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_ABORTED}));
    EXPECT_EQ(Send("play mainback notify", &Window), MCIERR_INVALID_DEVICE_NAME);
}

TEST_F(MciInterpreterTest, InterruptedPlaysNotifyAbortedOrSupersededAndNeverAlsoSuccessful) {
    TRecordingTarget other;
    ASSERT_EQ(OpenSong(), MCI_OK);
    ASSERT_EQ(Send("play mainback notify", &Window), MCI_OK);
    ASSERT_EQ(Send("play mainback notify", &other), MCI_OK); // goes on, promise handed over
    ASSERT_EQ(Send("seek mainback to 0"), MCI_OK);           // interrupts
    ASSERT_EQ(Send("play mainback notify", &Window), MCI_OK);
    const std::uint32_t interruptedPlay = Recorder.PlayNumber;
    ASSERT_EQ(Send("stop mainback"), MCI_OK);
    // An end the player reported just before the stop arrives late and is dropped.
    Recorder.OnEnd(interruptedPlay);
    ASSERT_EQ(Send("play mainback"), MCI_OK); // no notify: nothing to report later
    Recorder.EndPlay();
    DeliverNotifications();

    EXPECT_EQ(Window.Flags,
              (std::vector<std::uint32_t>{MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_ABORTED}));
    EXPECT_EQ(other.Flags, (std::vector<std::uint32_t>{MCI_NOTIFY_ABORTED}));
    EXPECT_EQ(Recorder.Events, (TEvents{"open 384", "play from 0", "stop", "play from 0", "stop",
                                        "play from 0", "stop"}));
}

TEST_F(MciInterpreterTest, PlayResumesWhereStopLeftAndSeekCountsInMilliseconds) {
    ASSERT_EQ(OpenSong(), MCI_OK);
    Recorder.StopTick = 100;
    ASSERT_EQ(Send("play mainback"), MCI_OK);
    ASSERT_EQ(Send("stop mainback"), MCI_OK);
    ASSERT_EQ(Send("play mainback"), MCI_OK);
    ASSERT_EQ(Send("seek mainback to 1000"), MCI_OK); // 192 ticks a second
    ASSERT_EQ(Send("play mainback"), MCI_OK);
    EXPECT_EQ(Send("seek mainback to 2100"), MCIERR_OUTOFRANGE);
    EXPECT_EQ(Recorder.Events, (TEvents{"open 384", "play from 0", "stop", "play from 100", "stop",
                                        "play from 192"}));
}

TEST_F(MciInterpreterTest, FailingCommandsChangeNothingAndNotifyNobody) {
    const std::string damaged = Song + ".damaged";
    WriteFileAtomically(damaged, {'M', 'T', 'h', 'd', 0, 0});
    EXPECT_EQ(Send("open sequencer!\"" + Song + ".missing\" alias mainback"),
              MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(Send("open sequencer!\"" + damaged + "\" alias mainback"), MCIERR_INVALID_FILE);
    std::remove(damaged.c_str());
    // A pipe in place of a track would stall the start waiting for a writer.
    const std::string pipe = Song + ".pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Send("open sequencer!\"" + pipe + "\" alias mainback"), MCIERR_FILE_NOT_FOUND);
    std::remove(pipe.c_str());
    Recorder.NoOutput = true;
    EXPECT_EQ(OpenSong(), MCIERR_HARDWARE);
    EXPECT_EQ(Send("play mainback notify", &Window), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("stop mainback"), MCIERR_INVALID_DEVICE_NAME);
    EXPECT_EQ(Send("close mainback"), MCIERR_INVALID_DEVICE_NAME);

    Recorder.NoOutput = false;
    ASSERT_EQ(OpenSong(), MCI_OK);
    EXPECT_EQ(OpenSong(), MCIERR_DUPLICATE_ALIAS);
    EXPECT_EQ(Send("jump mainback"), MCIERR_UNRECOGNIZED_COMMAND);
    DeliverNotifications();
    EXPECT_TRUE(Window.Flags.empty());
    EXPECT_EQ(Recorder.Events, (TEvents{"open 384"}));
}

TEST_F(MciInterpreterTest, AnEndReportedFromTheAudioThreadArrivesOnTheUserInterfaceThread) {
    ASSERT_EQ(OpenSong(), MCI_OK);
    ASSERT_EQ(Send("play mainback notify", &Window), MCI_OK);
    std::thread player([this] { Recorder.EndPlay(); });
    player.join();
    DeliverNotifications();
    ASSERT_EQ(Window.Flags, (std::vector<std::uint32_t>{MCI_NOTIFY_SUCCESSFUL}));
    EXPECT_EQ(Window.Thread, std::this_thread::get_id());
}

TEST_F(MciInterpreterTest, NotificationsForATargetThatIsGoneAreDropped) {
    ASSERT_EQ(OpenSong(), MCI_OK);
    // A new target in the old one's storage: a notification sent to the stale address
    // would land on it.
    alignas(TRecordingTarget) std::array<std::byte, sizeof(TRecordingTarget)> storage;
    auto* gone = new (storage.data()) TRecordingTarget;
    EXPECT_EQ(Send("play mainback notify", gone), MCI_OK);
    EXPECT_EQ(Send("stop mainback"), MCI_OK);
    gone->~TRecordingTarget();
    auto* successor = new (storage.data()) TRecordingTarget;
    DeliverNotifications();
    EXPECT_TRUE(successor->Flags.empty());
    successor->~TRecordingTarget();
}
