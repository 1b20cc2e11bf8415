#include "tools/sim/ReplayVerify.h"

#include "core/GameError.h"
#include "game/ReplayCheck.h"
#include "settings/Options.h"
#include "settings/ReplayStore.h"
#include "tools/sim/JsonText.h"

#include <chrono>

int VerifyReplay(const std::string& path, std::ostream& out) {
    TReplay replay;
    try {
        replay = LoadReplayFile(path);
    } catch (const EGameError& error) {
        out << "{\"error\":";
        WriteJsonString(out, path + ": " + error.what());
        out << "}\n";
        return 1;
    }
    Options = std::make_unique<TOptions>();
    const auto start = std::chrono::steady_clock::now();
    const TReplayOutcome outcome = ReplayHeadless(replay.Commands);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    const bool agree = outcome.Score == replay.Header.Score;
    out << "{\"replay\":";
    WriteJsonString(out, path);
    out << ",\"recorded\":" << replay.Header.Score << ",\"replayed\":" << outcome.Score
        << ",\"gameover\":" << (outcome.OfferedScore ? "true" : "false")
        << ",\"agree\":" << (agree ? "true" : "false") << ",\"ms\":" << took.count() << "}\n";
    return agree ? 0 : 1;
}
