#pragma once
// Drawing primitives with the pixel rules the measurement drawing is stated in:
// lines stop before their last pixel, rectangles are filled white and framed
// inside (left, top, right, bottom) exclusive of right and bottom, arcs run
// counter-clockwise on screen between the rays through two points.

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>

#include "measure/color_ref.h"

namespace orv {

// Coordinates and sizes come from files and drags; sums of them saturate.
int ClampToInt(long long v);

// Solid pen of the given width (below 1 counts as 1) and colour.
QPen SolidPen(int width, ColorRef color);
// Dotted pen of width 1 (one pixel on, one off).
QPen DottedPen(ColorRef color);

// Line from a towards b, b itself not drawn (nothing when a == b).
void DrawSegment(QPainter &p, QPoint a, QPoint b);

// Rectangle (left, top, right, bottom) with right and bottom exclusive,
// filled white and framed with the current pen.
void DrawFilledRect(QPainter &p, int left, int top, int right, int bottom);

// Full circle around c with radius r, not filled.
void DrawCircle(QPainter &p, QPoint c, int r);

// Arc of the circle around c with radius r, counter-clockwise on screen from
// the ray c->from to the ray c->to. Equal rays give the full circle.
void DrawArcCCW(QPainter &p, QPoint c, int r, QPoint from, QPoint to);

// On-screen angle of the ray c->q in degrees, counter-clockwise from the
// positive x axis (image y points down).
double ScreenAngleDeg(QPoint c, QPoint q);

// Label colours and background.
struct TextStyle {
    ColorRef textColor = 0;
    ColorRef backColor = 0x00FFFFFF;
    bool opaque = false;
};

// Text with its cell's top left at (x, y) in the painter's font; the cell is
// `cellHeight` rows high and is filled with the background colour when opaque.
// Returns the advance width.
int DrawTextTopLeft(QPainter &p, int x, int y, const QString &text, const TextStyle &style,
                    int cellHeight);

}  // namespace orv
