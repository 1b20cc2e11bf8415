#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
// Runs the built driver on `script` and returns its output lines.
std::vector<std::string> RunDriver(const std::string& script) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("zorbix-sim-test-" + std::to_string(getpid()) + ".txt");
    std::ofstream(path) << script;
    FILE* pipe = popen(("'" ZORBIX_SIM_PROGRAM "' < '" + path.string() + "'").c_str(), "r");
    std::vector<std::string> lines(1);
    for (int c = 0; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back().push_back(static_cast<char>(c));
        }
    }
    EXPECT_EQ(pipe == nullptr ? -1 : pclose(pipe), 0);
    std::filesystem::remove(path);
    lines.pop_back(); // after the last newline
    return lines;
}
} // namespace

// Guards the driver's contract with the scripts that reproduce games: the start state, the
// commands, event lines as they happen, the dump format, and errors that name the line and
// let the script go on.
TEST(SimDriver, PlaysAScriptAndAnswersInJsonLines) {
    const auto lines = RunDriver("seed 7\n"
                                 "newgame\n"
                                 "dump\n"
                                 "frame 1750\n"
                                 "frame 16\n"
                                 "dump\n"
                                 "# a comment, then a blank line\n"
                                 "\n"
                                 "jump 3\n"
                                 "frame -5\n"
                                 "difficulty 2\n"
                                 "frame 1000\n"
                                 "frame 6000\n"
                                 "key 37\n"
                                 "resume\n"
                                 "frame 16\n"
                                 "dump\n");
    const std::string firstDump =
        R"({"GameState":2,"SavedState":1,"Score":0,"Lives":3,"Speed":0.000199999995,)"
        R"("SpawnInterval":1750,"Elapsed":0,"SlotState":0,"BallSerial":0,"Slot":{"Side":0,)"
        R"("Position":[0,0,0],"Rotation":[0,0,0]},"Balls":[]})";
    const std::string secondDump =
        R"({"GameState":2,"SavedState":1,"Score":0,"Lives":3,"Speed":0.000199999995,)"
        R"("SpawnInterval":1750,"Elapsed":16,"SlotState":0,"BallSerial":1,"Slot":{"Side":0,)"
        R"("Position":[0,0.0111929998,0],"Rotation":[0,0,46.6840706]},"Balls":[{"Serial":1,)"
        R"("Side":0,"Phase":0,"Remaining":1.10000002,"Position":[0,1.39999998,3],)"
        R"("Rotation":[0,2.63598347,0.790977478],"Texture":4}]})";
    const std::vector<std::string> expected = {
        R"({"event":"score","value":0})",
        R"({"event":"sound","name":"newgame"})",
        firstDump,
        secondDump,
        R"({"error":"line 9: unknown command: jump 3"})",
        R"({"error":"line 10: expected a number from 0 to 4294967295: frame -5"})",
        R"({"error":"line 11: expected difficulty 0 or 1: difficulty 2"})",
        R"({"event":"sound","name":"kik0"})",
        R"({"event":"score","value":10})",
    };
    ASSERT_EQ(lines.size(), expected.size() + 1);
    for (std::size_t n = 0; n < expected.size(); ++n) {
        EXPECT_EQ(lines[n], expected[n]) << "line " << n + 1;
    }
    // The key turned the slot; "resume" went back to the title, where frames do not play.
    EXPECT_TRUE(lines.back().starts_with(R"({"GameState":1,"SavedState":1,"Score":10,)"));
    EXPECT_NE(lines.back().find(R"("Elapsed":7016,"SlotState":0,"BallSerial":1,"Slot":{"Side":3,)"),
              std::string::npos);
}

// Guards the output against bytes a bad line holds: bytes of 0x80 and above were echoed as
// they were, and the line stopped being valid JSON. Well-formed UTF-8 passes; anything else,
// a cut sequence, an overlong form or a surrogate, becomes U+FFFD.
TEST(SimDriver, ErrorLinesStayValidUtf8WhateverTheInputBytes) {
    const std::vector<std::string> lines =
        RunDriver("jump \xC3\xA9\xFF\xC3 \xE0\x80\x80 \xED\xA0\x80 \xF0\x9F\x8E\xB2\n");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "{\"error\":\"line 1: unknown command: jump \xC3\xA9\\ufffd\\ufffd "
                        "\\ufffd\\ufffd\\ufffd \\ufffd\\ufffd\\ufffd \xF0\x9F\x8E\xB2\"}");
}

namespace {
struct TVerifyResult {
    std::string Output;
    int Status = -1;
};

TVerifyResult RunVerify(const std::string& replay) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("zorbix-verify-test-" + std::to_string(getpid()) + ".replay");
    std::ofstream(path) << replay;
    FILE* pipe = popen(("'" ZORBIX_SIM_PROGRAM "' --verify '" + path.string() + "'").c_str(), "r");
    TVerifyResult result;
    for (int c = 0; pipe != nullptr && (c = std::fgetc(pipe)) != EOF;) {
        result.Output.push_back(static_cast<char>(c));
    }
    const int status = pipe == nullptr ? -1 : pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::filesystem::remove(path);
    return result;
}
} // namespace

// Guards the check anyone can run on a kept game: it agrees only when the re-play comes to
// the recorded score, and a file that is no replay is an error line, never a verdict.
TEST(SimDriver, VerifiesAKeptGameAgainstItsRecordedScore) {
    std::string game = "# zorbix replay 1\n# score 10\n# difficulty 1 (normal)\n# date 0\n"
                       "# name\nseed 7\ndifficulty 1\nview 0\nside 0\nelapsed 0\npress 120\n"
                       "frame 1750\nframe 16\nframe 1000\nframe 6000\nkey 37\nframe 16\n";
    const struct {
        std::string Replay;
        int Status;
        std::string Contains;
    } cases[]{
        {game, 0, R"("recorded":10,"replayed":10,"gameover":false,"agree":true,)"},
        {std::string(game).replace(game.find("score 10"), 8, "score 20"), 1,
         R"("recorded":20,"replayed":10,"gameover":false,"agree":false,)"},
        {"# zorbix replay 2\n", 1, "newer version of the game (replay format 2)\"}"},
        {game + "frame x\n", 1, "line 18: expected a number from 0 to 4294967295: frame x\"}"},
    };
    for (const auto& test : cases) {
        const TVerifyResult result = RunVerify(test.Replay);
        EXPECT_EQ(result.Status, test.Status) << result.Output;
        EXPECT_NE(result.Output.find(test.Contains), std::string::npos) << result.Output;
        EXPECT_EQ(std::ranges::count(result.Output, '\n'), 1) << result.Output;
    }
    // The same file is a script the driver plays as it stands.
    EXPECT_EQ(RunDriver(game).back(), R"({"event":"score","value":10})");
}
