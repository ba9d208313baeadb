#pragma once
// Geometry on integer image pixels. Every conversion to an integer truncates
// toward zero; a value outside the 32-bit range (or NaN) becomes INT_MIN.

#include <QPoint>
#include <QPointF>

#include <optional>

namespace orv {

// Truncation toward zero; INT_MIN for NaN and anything outside the int range.
int TruncateToInt(double v);

// sqrt(dx² + dy²) truncated; saturates at UINT_MAX.
unsigned int PixelDistance(QPoint a, QPoint b);

// Distance of p from the segment a-b; 999 when p lies outside the bounding box
// of a slanted segment. Saturates at INT_MAX.
int SegmentDistance(QPoint a, QPoint b, QPoint p);

// Foot of the perpendicular from p onto the line through a and b.
QPoint PerpendicularFoot(QPoint a, QPoint b, QPoint p);

struct ParallelLine {
    QPoint foot;   // PerpendicularFoot(a, b, p)
    QPoint start;  // ends of the line through p parallel to a-b,
    QPoint end;    // cut at the borders x = 0, y = 0, y = 2000 (x = 2000)
};
ParallelLine ParallelThrough(QPoint a, QPoint b, QPoint p);

// Intersection of the line p1-p2 with the line p3-p4; nullopt when parallel.
std::optional<QPoint> LineIntersection(QPoint p1, QPoint p2, QPoint p3, QPoint p4);

struct Circle {
    QPoint center;
    int radius = 0;
};
// Circle through three points; a third point (0, 0) means "not set yet" and
// gives the circle on p1-p2 as diameter. nullopt for collinear points (the
// caller keeps its previous circle).
std::optional<Circle> CircleFrom3Points(QPoint p1, QPoint p2, QPoint p3);

// The same constructions without rounding. They find no result exactly
// where the integer ones above find none.
QPointF ExactPerpendicularFoot(QPoint a, QPoint b, QPoint p);
std::optional<QPointF> ExactLineIntersection(QPoint p1, QPoint p2, QPoint p3, QPoint p4);
struct ExactCircle {
    QPointF center;
    double radius = 0.0;
};
std::optional<ExactCircle> ExactCircleFrom3Points(QPoint p1, QPoint p2, QPoint p3);

// Real-point forms, for points moved off the pixel grid: only exactly
// parallel lines and exactly collinear points find no result.
QPointF ExactPerpendicularFoot(QPointF a, QPointF b, QPointF p);
std::optional<QPointF> ExactLineIntersection(QPointF p1, QPointF p2, QPointF p3, QPointF p4);
std::optional<ExactCircle> ExactCircleFrom3Points(QPointF p1, QPointF p2, QPointF p3);

// Length of the shorter arc from p to q around c, on the circle through p.
double ArcLength(QPointF p, QPointF q, QPointF c);

}  // namespace orv
