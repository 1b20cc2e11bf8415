#pragma once
// The game board as an illustration for the title and game-over pictures: the tiled field,
// its rim, the four coloured lanes, the pit with the slot, and balls, seen in perspective
// from the front.

#include <QPainter>
#include <QRectF>

#include <vector>

// A ball on the board, in field units (origin at the centre, +y away from the viewer, +x to
// the viewer's left as in the game's cameras).
struct TBoardBall {
    int Look = 0; // ball texture 0..7
    double X = 0;
    double Y = 0;
    double Height = 0;    // of the ball's centre above the lane surface below it
    double Spin = 0;      // radians, to vary the pattern shown
    bool Falling = false; // draws motion streaks above it
    bool Kicked = false;  // draws a burst of stars around it
};

struct TBoardScene {
    bool SlotShown = true;
    int SlotFacing = 2; // the lane the slot faces: 0 +y, 1 -x, 2 -y (towards the viewer), 3 +x
    std::vector<TBoardBall> Balls;
    double Brightness = 1; // below 1 dims the board, not the balls (the game-over mood)
};

// Draws the board in perspective: its front edge spans the bottom of `area`, its back edge
// is narrower and at the top; the board's front face and a soft shadow hang below the area.
void DrawBoard(QPainter& painter, const QRectF& area, const TBoardScene& scene);
