#include "measure/derive.h"

#include <cmath>
#include <numbers>
#include <optional>

#include "measure/geometry.h"

namespace orv {
namespace {

constexpr double kPi = std::numbers::pi;

double ImageAngle(QPointF c, QPoint q)
{
    return std::atan2(q.y() - c.y(), q.x() - c.x());
}

// Collinear points find no circle: the previous one stays, drawn and exact.
void DeriveCircle(QPoint p1, QPoint p2, QPoint p3, QPoint &center, int &radius, QPointF &exactCenter,
                  double &exactRadius)
{
    if (const std::optional<Circle> circle = CircleFrom3Points(p1, p2, p3)) {
        center = circle->center;
        radius = circle->radius;
    }
    if (const std::optional<ExactCircle> circle = ExactCircleFrom3Points(p1, p2, p3)) {
        exactCenter = circle->center;
        exactRadius = circle->radius;
    }
}

// Kinds 5 (feet) and 7 / 14 (feet and parallel lines) of every point from the third on.
void DeriveBaseLineFamily(const MeasureItem &item, DerivedGeometry &g, bool parallel)
{
    if (item.points.size() < 2)
        return;
    const QPoint p1 = item.points[0].pos;
    const QPoint p2 = item.points[1].pos;
    for (std::size_t i = 2; i < item.points.size(); ++i) {
        g.exact.feet[i] = ExactPerpendicularFoot(p1, p2, item.points[i].pos);
        DerivedPoint &d = g.points[i];
        if (parallel) {
            const ParallelLine line = ParallelThrough(p1, p2, item.points[i].pos);
            d.foot = line.foot;
            d.lineStart = line.start;
            d.lineEnd = line.end;
        } else {
            d.foot = PerpendicularFoot(p1, p2, item.points[i].pos);
        }
    }
}

bool DerivesPoints(MeasureKind kind)
{
    return kind == KindDistanceArc || kind == KindPerpendicular || kind == KindParallel
           || kind == KindStandardParallel;
}

}  // namespace

ArcThrough3 ArcThroughPoints(QPoint p1, QPoint p2, QPoint p3, QPointF c, double &arcStart, double &arcStop)
{
    ArcThrough3 arc;
    // The longest chord gives the ends, so each half spans less than 180 degrees.
    const unsigned d12 = PixelDistance(p1, p2);
    const unsigned d23 = PixelDistance(p2, p3);
    const unsigned d31 = PixelDistance(p3, p1);
    if (d12 >= d23 && d12 >= d31) {
        arc.s = p1, arc.m = p3, arc.e = p2;
    } else if (d31 > d23) {
        arc.s = p1, arc.m = p2, arc.e = p3;
    } else {
        arc.s = p3, arc.m = p1, arc.e = p2;
    }

    const double aS = ImageAngle(c, arc.s);
    const double aM = ImageAngle(c, arc.m);
    const double aE = ImageAngle(c, arc.e);

    // Each half the short way round.
    const double dSM = aS - aM;
    if ((aS > 0 && dSM > kPi) || (-kPi <= dSM && dSM < 0)) {
        arc.halves[0] = {arc.m, arc.s};
        arcStop = aS;
    } else {
        arc.halves[0] = {arc.s, arc.m};
        arcStart = aS;
    }
    const double dME = aM - aE;
    if ((aM > 0 && dME > kPi) || (-kPi <= dME && dME < 0)) {
        arc.halves[1] = {arc.e, arc.m};
        arcStart = aE;
    } else {
        arc.halves[1] = {arc.m, arc.e};
        arcStop = aE;
    }
    return arc;
}

DerivedGeometry DeriveGeometry(const MeasureItem &item)
{
    DerivedGeometry g;
    g.center = item.center;
    g.center2 = item.center2;
    g.radius = item.radius;
    g.radius2 = item.radius2;
    g.arcStart = item.arcStart;
    g.arcStop = item.arcStop;
    g.exact = item.exact;

    const auto &pts = item.points;
    const std::size_t n = pts.size();
    if (DerivesPoints(item.kind)) {
        g.points.reserve(n);
        for (const MeasurePoint &pt : pts)
            g.points.push_back({pt.foot, pt.lineStart, pt.lineEnd});
        g.exact.feet.resize(n);
    }
    switch (item.kind) {
    case KindDistanceArc:
        if (n >= 3) {
            DeriveCircle(pts[0].pos, pts[1].pos, pts[2].pos, g.center, g.radius, g.exact.center,
                         g.exact.radius);
            const ArcThrough3 arc = ArcThroughPoints(pts[0].pos, pts[1].pos, pts[2].pos, g.exact.center,
                                                     g.arcStart, g.arcStop);
            g.points[0] = {arc.s, arc.m, arc.e};
        }
        break;
    case KindDistanceCircles:
        if (n >= 3)
            DeriveCircle(pts[0].pos, pts[1].pos, pts[2].pos, g.center, g.radius, g.exact.center,
                         g.exact.radius);
        if (n >= 6)
            DeriveCircle(pts[3].pos, pts[4].pos, pts[5].pos, g.center2, g.radius2, g.exact.center2,
                         g.exact.radius2);
        break;
    case KindPerpendicular:
        DeriveBaseLineFamily(item, g, false);
        break;
    case KindParallel:
    case KindStandardParallel:
        DeriveBaseLineFamily(item, g, true);
        break;
    case KindAreaCircle:
        if (n >= 3)
            DeriveCircle(pts[0].pos, pts[1].pos, pts[2].pos, g.center, g.radius, g.exact.center,
                         g.exact.radius);
        break;
    case KindAngle2Lines:
        if (n >= 4) {
            g.center = LineIntersection(pts[0].pos, pts[1].pos, pts[2].pos, pts[3].pos)
                           .value_or(kParallelMarker);
            g.exact.center = ExactLineIntersection(pts[0].pos, pts[1].pos, pts[2].pos, pts[3].pos)
                                 .value_or(QPointF(kParallelMarker));
        }
        break;
    default:
        break;  // the other kinds use their points as they are
    }
    return g;
}

void ApplyDerivedGeometry(MeasureItem &item, const DerivedGeometry &g)
{
    item.center = g.center;
    item.center2 = g.center2;
    item.radius = g.radius;
    item.radius2 = g.radius2;
    item.arcStart = g.arcStart;
    item.arcStop = g.arcStop;
    item.exact = g.exact;
    for (std::size_t i = 0; i < item.points.size() && i < g.points.size(); ++i) {
        item.points[i].foot = g.points[i].foot;
        item.points[i].lineStart = g.points[i].lineStart;
        item.points[i].lineEnd = g.points[i].lineEnd;
    }
}

void UpdateDerivedGeometry(MeasureItem &item)
{
    ApplyDerivedGeometry(item, DeriveGeometry(item));
}

bool AngleLinesParallel(const MeasureItem &item)
{
    const auto &pts = item.points;
    return item.kind == KindAngle2Lines && pts.size() >= 4
           && !LineIntersection(pts[0].pos, pts[1].pos, pts[2].pos, pts[3].pos);
}

bool HasMeasureValue(const MeasureItem &item)
{
    return !AngleLinesParallel(item);
}

}  // namespace orv
