#pragma once
// Balls for the illustrations: a ball texture wrapped around a lit sphere, the way the game
// wraps it, with a highlight and an antialiased edge.

#include <QImage>
#include <QPainter>
#include <QPointF>

// A ball of the given diameter (pixels) showing `texture` (wrapped by longitude and latitude,
// north pole on the top row). `spin` turns the ball about its axis and `tilt` leans the north
// pole towards the viewer, both in radians. The result has a transparent surround.
QImage RenderTexturedSphere(const QImage& texture, int diameter, double spin, double tilt);

// Draws a rendered ball centred on `centre` with a soft contact shadow `lift` pixels below it
// (0 for a ball resting on the ground).
void DrawBallWithShadow(QPainter& painter, const QImage& ball, QPointF centre, qreal lift);
