#pragma once
// Point markers, arcs and angle marks of measurements.

#include <QPainter>
#include <QPoint>

#include "measure/derive.h"
#include "measure/measure_item.h"

namespace orv {

// Cross of +-8 pixels and a circle of radius 5 around the point, current pen.
void DrawPointMarker(QPainter &p, QPoint pt);

// Arc of a kind 3 item through its first three points around the circle of
// its derived geometry g, counter-clockwise on screen from arcStart to arcStop.
void DrawArcThrough3(QPainter &p, const MeasureItem &item, const DerivedGeometry &g);
void DrawArcThrough3(QPainter &p, const MeasureItem &item);

// Radius of the angle mark.
inline constexpr int kAngleArcRadius = 50;

// Point at distance 50 from v on the ray v->a, coordinates truncated.
QPoint AngleArcPoint(QPoint v, QPoint a);

// The 50-pixel angle mark at vertex v between the rays to a and b: the
// included angle (at most 180 degrees), or with reflex its complement.
void DrawAngleArc(QPainter &p, QPoint a, QPoint v, QPoint b, bool reflex);

}  // namespace orv
