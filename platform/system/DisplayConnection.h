#pragma once
// Whether the window system the game would open its window on answers, asked before the
// toolkit is started: the toolkit ends the program with an abort when it cannot connect. Reads
// the environment (QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY, WAYLAND_SOCKET, XDG_RUNTIME_DIR);
// needs no application object.

#include <string>

struct TDisplayCheck {
    // Empty when a window can be opened; otherwise one line for the player saying what is
    // missing.
    std::string Problem;
    // The toolkit platform to choose because only that window system answers; empty to leave
    // the toolkit's own choice.
    std::string Platform;
};

TDisplayCheck CheckDisplay();
