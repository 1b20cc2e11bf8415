#pragma once
// Size requests for a top-level window that leave its place on the screen to the window
// manager. Asking through the widget's own resize also restates the position, which some
// window managers take as a move of the frame; and while the user drags the frame they may
// refuse the request without saying so, leaving the widget believing in a size the window
// does not have. Here the request carries the size alone, and the widget learns its size
// from the window manager's answer, as for any other resize. User-interface thread only.

#include <QColor>
#include <QSize>

class QWidget;

// Asks for a new size of the window's client area (the top-level window without its frame).
// Where the window system has no window manager to ask (offscreen), resizes at once.
void RequestClientSize(QWidget* window, QSize size);

// Gives the window system a colour to fill the window with before the program first paints it,
// so that a window being mapped never shows black or what lay beneath. Only X11 has such a
// fill; elsewhere nothing is shown before the first paint anyway. Call it once the window
// exists (from its first show event), before it is mapped.
void SetWindowFillColour(QWidget* window, QColor colour);
