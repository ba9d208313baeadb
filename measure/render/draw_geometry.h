#pragma once
// Point markers, circles and arcs of measurements, with the geometry they
// derive written back into the item.

#include <QPainter>
#include <QPoint>

#include "measure_item.h"

namespace orv {

// Cross of +-8 pixels and a circle of radius 5 around the point, current pen.
void DrawPointMarker(QPainter &p, QPoint pt);

// Circle through three points into center / radius, then the full circle.
// Collinear points keep (and draw) the previous center and radius. Returns
// whether a new circle was found.
bool DrawCircleThrough3(QPainter &p, QPoint p1, QPoint p2, QPoint p3, QPoint &center, int &radius);

// Arc of a kind 3 item through its first three points: writes center, radius,
// the ordered arc points S, M, E into the first point's foot, lineStart and
// lineEnd, and arcStart / arcStop (atan2 in image coordinates). The arc runs
// counter-clockwise on screen from arcStart to arcStop.
void DrawArcThrough3(QPainter &p, MeasureItem &item);

// Radius of the angle mark.
inline constexpr int kAngleArcRadius = 50;

// Point at distance 50 from v on the ray v->a, coordinates truncated.
QPoint AngleArcPoint(QPoint v, QPoint a);

// The 50-pixel angle mark at vertex v between the rays to a and b: the
// included angle (at most 180 degrees), or with reflex its complement.
void DrawAngleArc(QPainter &p, QPoint a, QPoint v, QPoint b, bool reflex);

}  // namespace orv
