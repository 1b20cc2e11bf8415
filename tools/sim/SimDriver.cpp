#include "tools/sim/SimDriver.h"

#include "core/Globals.h"
#include "core/Random.h"
#include "game/GameCommand.h"
#include "game/GameFlow.h"
#include "settings/Options.h"
#include "tools/sim/JsonText.h"
#include "tools/sim/StateDump.h"

#include <string>

TSimDriver::TSimDriver(std::ostream& out) : Out(out) {
    Options = std::make_unique<TOptions>();
    Options->Difficulty = 1;
    FlowToTitle();
    FrameDeltaMs = 0;
    RandSeed = 0;
    Game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
    Game->SetOutlet(this);
}

void TSimDriver::RunLine(std::string_view line, std::int32_t lineNumber) {
    const TParsedLine parsed = ParseGameCommand(line);
    if (parsed.Result == TParsedLine::TResult::Error) {
        ReportError(lineNumber, parsed.Reason, line);
    } else if (parsed.Result == TParsedLine::TResult::Command) {
        RunCommand(parsed.Command);
    }
}

void TSimDriver::RunCommand(TGameCommand command) {
    if (command.Kind == TCommandKind::Dump) {
        WriteGameState(Out, *Game);
    } else {
        ApplyGameCommand(*Game, command);
    }
}

void TSimDriver::ShowScore(std::int32_t score) {
    Out << "{\"event\":\"score\",\"value\":" << score << "}\n";
}

void TSimDriver::PlaySoundEffect(std::string_view name) {
    Out << "{\"event\":\"sound\",\"name\":";
    WriteJsonString(Out, name);
    Out << "}\n";
}

void TSimDriver::AddScore(std::int32_t score) {
    Out << "{\"event\":\"addscore\",\"value\":" << score << "}\n";
}

void TSimDriver::ReportError(std::int32_t lineNumber, std::string_view reason,
                             std::string_view line) {
    std::string message = "line " + std::to_string(lineNumber) + ": ";
    message.append(reason).append(": ").append(line);
    Out << "{\"error\":";
    WriteJsonString(Out, message);
    Out << "}\n";
}
