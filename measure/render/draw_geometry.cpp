#include "draw_geometry.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "geometry.h"
#include "render/gdi_paint.h"

namespace orv {
namespace {

constexpr double kPi = std::numbers::pi;

double ImageAngle(QPoint c, QPoint q)
{
    return std::atan2(static_cast<double>(q.y()) - c.y(), static_cast<double>(q.x()) - c.x());
}

}  // namespace

void DrawPointMarker(QPainter &p, QPoint pt)
{
    DrawSegment(p, QPoint(pt.x(), pt.y() - 8), QPoint(pt.x(), pt.y() + 8));
    DrawSegment(p, QPoint(pt.x() - 8, pt.y()), QPoint(pt.x() + 8, pt.y()));
    DrawCircle(p, pt, 5);
}

bool DrawCircleThrough3(QPainter &p, QPoint p1, QPoint p2, QPoint p3, QPoint &center, int &radius)
{
    const std::optional<Circle> circle = CircleFrom3Points(p1, p2, p3);
    if (circle) {
        center = circle->center;
        radius = circle->radius;
    }
    DrawCircle(p, center, radius);
    return circle.has_value();
}

void DrawArcThrough3(QPainter &p, MeasureItem &item)
{
    if (item.points.size() < 3)
        return;
    const QPoint p1 = item.points[0].pos;
    const QPoint p2 = item.points[1].pos;
    const QPoint p3 = item.points[2].pos;
    if (const std::optional<Circle> circle = CircleFrom3Points(p1, p2, p3)) {
        item.center = circle->center;
        item.radius = circle->radius;
    }
    const QPoint c = item.center;
    const int r = item.radius;

    // The longest chord gives the ends, so each half spans less than 180 degrees.
    const unsigned d12 = PixelDistance(p1, p2);
    const unsigned d23 = PixelDistance(p2, p3);
    const unsigned d31 = PixelDistance(p3, p1);
    QPoint s, m, e;
    if (d12 >= d23 && d12 >= d31) {
        s = p1, m = p3, e = p2;
    } else if (d31 > d23) {
        s = p1, m = p2, e = p3;
    } else {
        s = p3, m = p1, e = p2;
    }
    item.points[0].foot = s;
    item.points[0].lineStart = m;
    item.points[0].lineEnd = e;

    const double aS = ImageAngle(c, s);
    const double aM = ImageAngle(c, m);
    const double aE = ImageAngle(c, e);

    const double dSM = aS - aM;
    if ((aS > 0 && dSM > kPi) || (-kPi <= dSM && dSM < 0)) {
        DrawArcCCW(p, c, r, m, s);
        item.arcStop = aS;
    } else {
        DrawArcCCW(p, c, r, s, m);
        item.arcStart = aS;
    }
    const double dME = aM - aE;
    if ((aM > 0 && dME > kPi) || (-kPi <= dME && dME < 0)) {
        DrawArcCCW(p, c, r, e, m);
        item.arcStart = aE;
    } else {
        DrawArcCCW(p, c, r, m, e);
        item.arcStop = aE;
    }
}

QPoint AngleArcPoint(QPoint v, QPoint a)
{
    const double dx = static_cast<double>(a.x()) - v.x();
    const double dy = static_cast<double>(a.y()) - v.y();
    if (dx == 0)
        return dy > 0 ? QPoint(v.x(), v.y() + kAngleArcRadius) : QPoint(v.x(), v.y() - kAngleArcRadius);
    const double s = std::sqrt(2500.0 / (dy * dy / (dx * dx) + 1.0));
    const double sign = dx > 0 ? 1.0 : -1.0;
    return QPoint(TruncateToInt(v.x() + sign * s), TruncateToInt(v.y() + sign * dy * s / dx));
}

void DrawAngleArc(QPainter &p, QPoint a, QPoint v, QPoint b, bool reflex)
{
    const double ta = ImageAngle(v, a);
    const double tb = ImageAngle(v, b);
    QPoint pa = AngleArcPoint(v, a);
    QPoint pb = AngleArcPoint(v, b);
    double t = ta - tb;
    if (t < 0) {
        t = -t;
        std::swap(pa, pb);
    }
    if (reflex)
        std::swap(pa, pb);
    // Image angles run clockwise on screen: from pa to pb counter-clockwise is
    // the angle t itself, the other way round its complement.
    if (t * 180.0 / kPi > 180.0)
        DrawArcCCW(p, v, kAngleArcRadius, pb, pa);
    else
        DrawArcCCW(p, v, kAngleArcRadius, pa, pb);
}

}  // namespace orv
