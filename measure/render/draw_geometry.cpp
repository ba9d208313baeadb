#include "measure/render/draw_geometry.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "measure/geometry.h"
#include "measure/render/gdi_paint.h"

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

void DrawArcThrough3(QPainter &p, const MeasureItem &item, const DerivedGeometry &g)
{
    if (item.points.size() < 3)
        return;
    double start = g.arcStart;
    double stop = g.arcStop;
    const ArcThrough3 arc =
        ArcThroughPoints(item.points[0].pos, item.points[1].pos, item.points[2].pos, g.center, start, stop);
    for (const ArcHalf &half : arc.halves)
        DrawArcCCW(p, g.center, g.radius, half.from, half.to);
}

void DrawArcThrough3(QPainter &p, const MeasureItem &item)
{
    DrawArcThrough3(p, item, DeriveGeometry(item));
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
