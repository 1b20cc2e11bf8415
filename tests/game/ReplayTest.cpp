// Kept games: the command language they are written in, their file, the recorder that makes
// them from what the window does, the headless re-play that checks them and the player that
// shows them.

#include "GameTestSupport.h"

#include "core/GameError.h"
#include "game/GameFlow.h"
#include "game/ReplayCheck.h"
#include "game/ReplayFile.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"
#include "platform/interfaces/VirtualKeys.h"
#include "settings/ModalDialogPause.h"

#include <bit>

namespace {
using K = TCommandKind;

struct TLineCase {
    const char* Line;
    TParsedLine::TResult Result;
    TGameCommand Command;
    const char* Reason;
};
} // namespace

// Guards the language's contract with the scripts and files written in it: each command, its
// bounds, and the reasons given for what is refused.
TEST(GameCommand, ReadsEachCommandAndNamesWhatIsWrong) {
    using R = TParsedLine::TResult;
    const TLineCase cases[]{
        {"", R::Nothing, {}, ""},
        {"  # note", R::Nothing, {}, ""},
        {"seed 4294967295", R::Command, {K::Seed, 4294967295u}, ""},
        {"frame\t16\r", R::Command, {K::Frame, 16}, ""},
        {"wait 900", R::Command, {K::Wait, 900}, ""},
        {"key 37", R::Command, {K::Key, 37}, ""},
        {"press 255", R::Command, {K::Press, 255}, ""},
        {"view 3", R::Command, {K::View, 3}, ""},
        {"side 2", R::Command, {K::Side, 2}, ""},
        {"elapsed 12.5", R::Command, {K::Elapsed, std::bit_cast<std::uint32_t>(12.5f)}, ""},
        {"menunew", R::Command, {K::MenuNew, 0}, ""},
        {"menupause", R::Command, {K::MenuPause, 0}, ""},
        {"dialog", R::Command, {K::Dialog, 0}, ""},
        {"jump 3", R::Error, {}, "unknown command"},
        {"frame", R::Error, {}, "expected one number"},
        {"dialog 1", R::Error, {}, "expected no argument"},
        {"frame -5", R::Error, {}, "expected a number from 0 to 4294967295"},
        {"key 65536", R::Error, {}, "expected a key code from 0 to 65535"},
        {"press 256", R::Error, {}, "expected a character code from 0 to 255"},
        {"difficulty 2", R::Error, {}, "expected difficulty 0 or 1"},
        {"view 4", R::Error, {}, "expected view 0 to 3"},
        {"side 4", R::Error, {}, "expected side 0 to 3"},
        {"elapsed inf", R::Error, {}, "expected a real number"},
        {"elapsed nan", R::Error, {}, "expected a real number"},
    };
    for (const TLineCase& test : cases) {
        const TParsedLine parsed = ParseGameCommand(test.Line);
        EXPECT_EQ(parsed.Result, test.Result) << test.Line;
        EXPECT_EQ(parsed.Reason, test.Reason) << test.Line;
        if (test.Result == R::Command) {
            EXPECT_EQ(parsed.Command, test.Command) << test.Line;
        }
    }
}

// Guards the file: what is written reads back exactly (a float clock to the bit, a date to
// the bit, any byte of a name), and damage is named.
TEST(ReplayFile, ReadsBackWhatItWroteAndRefusesDamage) {
    TReplay replay;
    replay.Header = {1230, 0, 46366.17523148148, std::string("Ann\\\n\xe9 (easy)")};
    replay.Commands = {{K::Seed, 7},    {K::Elapsed, std::bit_cast<std::uint32_t>(0.1f)},
                       {K::Press, 'x'}, {K::Frame, 16},
                       {K::Wait, 4000}, {K::Dialog, 0}};
    const std::string text = ReplayText(replay);
    EXPECT_TRUE(text.starts_with("# zorbix replay 1\n# score 1230\n# difficulty 0 (easy)\n"
                                 "# date 46366.17523148148 (2026-12-10 04:12:20)\n"
                                 "# name Ann\\x5c\\x0a\\xe9 (easy)\n"))
        << text;
    const TReplay read = ReadReplay(text);
    EXPECT_EQ(read.Header.Score, 1230);
    EXPECT_EQ(read.Header.Difficulty, 0);
    EXPECT_EQ(read.Header.Date, replay.Header.Date);
    EXPECT_EQ(read.Header.Name, replay.Header.Name);
    EXPECT_EQ(read.Commands, replay.Commands);

    const std::pair<std::string, std::string> damaged[]{
        {"", "it is not a replay"},
        {"seed 1\n", "it is not a replay"},
        {"# zorbix replay 1x\n", "it is not a replay"},
        {"# zorbix replay 2\n# score 1\n", "newer version of the game (replay format 2)"},
        {"# zorbix replay 1\n# difficulty 1\n# date 0\n", "lacks the score line"},
        {"# zorbix replay 1\n# score 1\n# difficulty 1\n# date x\n", "line 4: damaged header"},
        {"# zorbix replay 1\n# score 1\n# difficulty 1\n# date 0\n# name \\x4\n", "line 5"},
        {"# zorbix replay 1\r\n# score 1\r\n# difficulty 1\r\n# date 0\r\nframe 16\r\nfly\r\n",
         "line 6: unknown command: fly"},
    };
    for (const auto& [file, reason] : damaged) {
        try {
            ReadReplay(file);
            ADD_FAILURE() << "read: " << file;
        } catch (const EGameError& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
}

namespace {
class ReplayRecorderTest : public GameTest {
protected:
    // What the window does between two frames of a game, as the recorder sees it.
    void Run(TGameCommand command) { Replays.Apply(*Game, command); }

    TReplayRecorder Replays;
};
} // namespace

// Guards the whole promise: a game played through the recorder, with everything the window
// can do to it (keys in every state, the interlude, pauses, a dialog, a change of difficulty,
// the music's draws between frames in play and out of it, a slot and clock left over from the last
// game), re-plays headless to the same end, and the re-play leaves the window's game and settings
// alone.
TEST_F(ReplayRecorderTest, AGamePlayedThroughItRePlaysToTheSameEnd) {
    // The last game left its slot turned and its clock running.
    for (int frame = 0; frame < 40; ++frame) {
        Frame(16);
    }
    Game->TurnSlot(VK_UP);
    const std::uint8_t sideLeft = Game->Slot.Side;
    const float clockLeft = Game->Elapsed;
    FlowNewGame(*Game);
    ASSERT_EQ(GameState, gsTitle);
    Run({K::Press, 'x'});
    ASSERT_TRUE(Replays.Recording());
    std::uint32_t tick = 0;
    while (GameState != gsGameOver && tick < 100'000) {
        ++tick;
        if (GameState == gsInterlude && tick % 7 == 0) {
            Run({K::Press, 'x'});
        }
        if (tick % 13 == 0) {
            Run({K::Key, VK_LEFT + tick / 13 % 4u});
        }
        if (tick % 997 == 0 || tick % 300 == 160) {
            RandomInt(3); // the music's next track, in play and while paused
        }
        switch (tick % 300) {
        case 0:
            Run({K::MenuPause, 0});
            break;
        case 30: { // a dialog opened over the pause, which ends it
            {
                const TModalDialogPause pause;
            }
            Replays.Note({K::Dialog, 0});
            break;
        }
        case 150:
            Run({K::Press, static_cast<std::uint32_t>(VK_ESCAPE)});
            break;
        case 180:
            Run({K::Press, 'x'});
            break;
        default:
            break;
        }
        if (tick == 400) {
            Options->Difficulty = 0;
            Replays.Note({K::Difficulty, 0});
        }
        Run({K::Frame, 10 + tick % 11});
    }
    ASSERT_EQ(GameState, gsGameOver);
    ASSERT_GT(tick, 1000u);
    ASSERT_EQ(Recorder.FinalScores.size(), 1u);
    const TReplay replay = Replays.Finish({Options->Score, 1, 0, ""});
    EXPECT_EQ(replay.Header.Difficulty, 1); // as the game started
    EXPECT_FALSE(Replays.Recording());
    EXPECT_EQ(replay.Commands[3], (TGameCommand{K::Side, sideLeft}));
    EXPECT_EQ(replay.Commands[4],
              (TGameCommand{K::Elapsed, std::bit_cast<std::uint32_t>(clockLeft)}));

    const std::int32_t score = Options->Score;
    const std::uint32_t seed = RandSeed;
    const TReplayOutcome outcome = ReplayHeadless(ReadReplay(ReplayText(replay)).Commands);
    EXPECT_EQ(outcome.Score, score);
    EXPECT_EQ(outcome.OfferedScore, score);
    EXPECT_GT(score, 0);
    EXPECT_EQ(GameState, gsGameOver);
    EXPECT_EQ(RandSeed, seed);
    EXPECT_EQ(Options->Difficulty, 0);
}

// Guards the recording's limits: nothing before a game starts, only time outside play, and
// one wait for a whole stretch of it.
TEST_F(ReplayRecorderTest, KeepsTimeOutsidePlayAsOneWait) {
    FlowNewGame(*Game);
    Run({K::Frame, 16}); // at the title: no game yet
    EXPECT_FALSE(Replays.Recording());
    Run({K::Press, 'a'});
    Run({K::MenuPause, 0});
    Run({K::Frame, 20});
    Run({K::Frame, 30});
    Run({K::MenuPause, 0});
    Run({K::Frame, 16});
    const TReplay replay = Replays.Finish({});
    const std::vector<TGameCommand> after(replay.Commands.begin() + 5, replay.Commands.end());
    const std::vector<TGameCommand> expected{
        {K::Press, 'a'}, {K::MenuPause, 0}, {K::Wait, 50}, {K::MenuPause, 0}, {K::Frame, 16}};
    EXPECT_EQ(after, expected);
}

// Guards watching at the recorded speed: frames wait for their time, the commands between
// them follow at once, a long wait is cut short, and the end stays a moment.
TEST_F(ReplayRecorderTest, PlaysAtTheRecordedSpeed) {
    FlowToTitle();
    TReplayPlayer player;
    player.Start({{K::Press, 'a'}, {K::Frame, 100}, {K::Wait, 60'000}, {K::Frame, 100}});
    EXPECT_TRUE(player.Advance(*Game, 0));
    EXPECT_EQ(GameState, gsPlaying);
    EXPECT_EQ(Game->Elapsed, 0);
    EXPECT_TRUE(player.Advance(*Game, 150));
    EXPECT_EQ(Game->Elapsed, 100);
    EXPECT_TRUE(player.Advance(*Game, 2999)); // the wait is shown 3000 ms at most
    EXPECT_EQ(Game->Elapsed, 100);
    EXPECT_TRUE(player.Advance(*Game, 51));
    EXPECT_EQ(Game->Elapsed, 200);
    EXPECT_TRUE(player.Advance(*Game, 2000));
    EXPECT_FALSE(player.Advance(*Game, 500));
    EXPECT_FALSE(player.Playing());
}
