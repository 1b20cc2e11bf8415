#pragma once
// The game paused while a modal dialog is open, and its state put back however the dialog
// closes, an exception included. A dialog opened over a pause returns to what the pause
// would have returned to.

#include "core/Globals.h"

class TModalDialogPause {
public:
    TModalDialogPause() {
        if (GameState != gsPaused) {
            SavedState = GameState;
        }
        GameState = gsPaused;
    }
    ~TModalDialogPause() { GameState = SavedState; }
    TModalDialogPause(const TModalDialogPause&) = delete;
    TModalDialogPause& operator=(const TModalDialogPause&) = delete;
};
