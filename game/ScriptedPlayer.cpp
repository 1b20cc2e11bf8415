#include "game/ScriptedPlayer.h"

#include "core/Globals.h"
#include "game/GameFlow.h"
#include "game/Sides.h"

void MakeMove(TGame& game, TPlayer player) {
    FlowLeaveInterlude();
    if (GameState != gsPlaying || player == TPlayer::Losing) {
        return;
    }
    for (std::int32_t i = 0; i < game.BallCount; ++i) {
        const TBall& ball = game.Balls[i];
        if (ball.Phase == bpRolling) {
            const auto side = static_cast<std::uint8_t>(
                player == TPlayer::Missing ? (ball.Side + 2) % 4 : ball.Side);
            if (game.Slot.Side != side) {
                game.TurnSlot(SideKey(side));
            }
            return;
        }
    }
}
