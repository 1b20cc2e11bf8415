#include "tools/sim/StateDump.h"

#include "core/Globals.h"
#include "settings/Options.h"
#include "tools/sim/JsonText.h"

namespace {
void WriteVector(std::ostream& out, const TVector& v) {
    out << '[';
    WriteJsonFloat(out, v.x);
    out << ',';
    WriteJsonFloat(out, v.y);
    out << ',';
    WriteJsonFloat(out, v.z);
    out << ']';
}

void WriteBall(std::ostream& out, const TBall& ball) {
    out << "{\"Serial\":" << ball.Serial << ",\"Side\":" << int{ball.Side}
        << ",\"Phase\":" << int{ball.Phase} << ",\"Remaining\":";
    WriteJsonFloat(out, ball.Remaining);
    out << ",\"Position\":";
    WriteVector(out, ball.Obj.Position);
    out << ",\"Rotation\":";
    WriteVector(out, ball.Obj.Rotation);
    out << ",\"Texture\":" << int{ball.Look} << '}';
}
} // namespace

void WriteGameState(std::ostream& out, const TGame& game) {
    out << "{\"GameState\":" << int{GameState} << ",\"SavedState\":" << int{SavedState}
        << ",\"Score\":" << Options->Score << ",\"Lives\":" << int{Options->Lives} << ",\"Speed\":";
    WriteJsonFloat(out, game.Speed);
    out << ",\"SpawnInterval\":";
    WriteJsonFloat(out, game.SpawnInterval);
    out << ",\"Elapsed\":";
    WriteJsonFloat(out, game.Elapsed);
    out << ",\"SlotState\":" << int{game.SlotState} << ",\"BallSerial\":" << game.BallSerial
        << ",\"Slot\":{\"Side\":" << int{game.Slot.Side} << ",\"Position\":";
    WriteVector(out, game.Slot.Obj.Position);
    out << ",\"Rotation\":";
    WriteVector(out, game.Slot.Obj.Rotation);
    out << "},\"Balls\":[";
    for (std::int32_t index = 0; index < game.BallCount; ++index) {
        if (index > 0) {
            out << ',';
        }
        WriteBall(out, game.Balls[index]);
    }
    out << "]}\n";
}
