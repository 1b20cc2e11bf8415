#include "game/GameFlow.h"

#include "core/Globals.h"
#include "platform/interfaces/VirtualKeys.h"

void FlowKeyPress(TGame& game, char key, const std::function<void()>& openHomePage) {
    switch (GameState) {
    case gsTitle:
        GameState = gsPlaying;
        game.NewGame();
        break;
    case gsPlaying:
        if (key == VK_ESCAPE) {
            SavedState = gsPlaying;
            GameState = gsPaused;
        }
        break;
    case gsGameOver:
        GameState = gsTitle;
        break;
    case gsInterlude:
        if (key == VK_SPACE && openHomePage) {
            openHomePage();
        }
        GameState = SavedState;
        break;
    case gsPaused:
        GameState = SavedState;
        break;
    default:
        break;
    }
}

void FlowKeyDown(TGame& game, std::uint16_t key) {
    if (GameState == gsPlaying) {
        game.TurnSlot(key);
    }
}

void FlowNewGame(TGame& game) {
    // Nothing to reset before the game exists; loading ends on the title anyway.
    if (GameState == gsLoading) {
        return;
    }
    GameState = gsTitle;
    game.NewGame();
}

void FlowPauseResume() {
    if (GameState == gsLoading) {
        return;
    }
    if (GameState != gsPaused) {
        SavedState = GameState;
        GameState = gsPaused;
        return;
    }
    // A pause begun at the title or the game-over picture goes back there: a finished game
    // has no lives left to go on with.
    const bool pausedInGame = SavedState == gsPlaying || SavedState == gsInterlude;
    GameState = pausedInGame ? std::uint8_t{gsPlaying} : SavedState;
}

void FlowToTitle() {
    GameState = gsTitle;
    SavedState = gsTitle;
}

void FlowLeaveInterlude() {
    if (GameState == gsInterlude) {
        GameState = SavedState;
    }
}
