#include "measure/geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace orv {
namespace {

// Differences of 32-bit coordinates need 33 bits.
double Diff(int a, int b)
{
    return static_cast<double>(static_cast<std::int64_t>(a) - b);
}

// Slope of the line p-q; only called for non-vertical lines.
double Slope(QPoint p, QPoint q)
{
    return Diff(q.y(), p.y()) / Diff(q.x(), p.x());
}

int ClampToInt(std::int64_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

int ClampDistance(unsigned int d)
{
    return d > static_cast<unsigned int>(INT_MAX) ? INT_MAX : static_cast<int>(d);
}

int NearerEnd(QPoint a, QPoint b, QPoint p)
{
    return ClampDistance(std::min(PixelDistance(p, a), PixelDistance(p, b)));
}

// The rule of CircleFrom3Points for points that give no circle.
bool FindsNoCircle(QPoint p1, QPoint p2, QPoint p3)
{
    const double o = p1.y() == p2.y() ? 0.0 : Diff(p2.x(), p1.x()) / Diff(p1.y(), p2.y());
    const double t = p2.y() == p3.y() ? 0.0 : Diff(p3.x(), p2.x()) / Diff(p2.y(), p3.y());
    return t == o || (o != 0 && t != 0 && p1.x() == p2.x() && p2.x() == p3.x());
}

double Cross(double ax, double ay, double bx, double by)
{
    return ax * by - ay * bx;
}

}  // namespace

int TruncateToInt(double v)
{
    // Negated test so that NaN lands here too.
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return INT_MIN;
    return static_cast<int>(v);
}

unsigned int PixelDistance(QPoint a, QPoint b)
{
    const double dx = std::abs(Diff(a.x(), b.x()));
    const double dy = std::abs(Diff(a.y(), b.y()));
    const double d = std::sqrt(dx * dx + dy * dy);
    if (d >= 4294967296.0)
        return UINT_MAX;
    return static_cast<unsigned int>(d);
}

int SegmentDistance(QPoint a, QPoint b, QPoint p)
{
    if (a.x() != b.x() && a.y() != b.y()) {
        if (p.x() < std::min(a.x(), b.x()) || p.x() > std::max(a.x(), b.x())
            || p.y() < std::min(a.y(), b.y()) || p.y() > std::max(a.y(), b.y()))
            return 999;
        return ClampDistance(PixelDistance(p, PerpendicularFoot(a, b, p)));
    }
    if (a.y() == b.y() && a.x() != b.x()) {
        if (std::min(a.x(), b.x()) <= p.x() && p.x() <= std::max(a.x(), b.x()))
            return ClampToInt(std::abs(static_cast<std::int64_t>(p.y()) - a.y()));
        return NearerEnd(a, b, p);
    }
    if (std::min(a.y(), b.y()) <= p.y() && p.y() <= std::max(a.y(), b.y()))
        return ClampToInt(std::abs(static_cast<std::int64_t>(p.x()) - a.x()));
    return NearerEnd(a, b, p);
}

QPoint PerpendicularFoot(QPoint a, QPoint b, QPoint p)
{
    if (a.x() == b.x())
        return {a.x(), p.y()};
    if (a.y() == b.y())
        return {p.x(), a.y()};
    const double g = Slope(a, b);
    const double x = (p.y() + p.x() / g - (a.y() - a.x() * g)) / (g + 1 / g);
    const double y = a.y() - a.x() * g + g * x;
    return {TruncateToInt(x), TruncateToInt(y)};
}

ParallelLine ParallelThrough(QPoint a, QPoint b, QPoint p)
{
    ParallelLine line;
    line.foot = PerpendicularFoot(a, b, p);
    if (a.x() == b.x()) {
        line.start = {p.x(), 0};
        line.end = {p.x(), 2000};
        return line;
    }
    if (a.y() == b.y()) {
        line.start = {0, p.y()};
        line.end = {2000, p.y()};
        return line;
    }
    const double g = Slope(a, b);
    const double d = p.y() - p.x() * g;
    if (g < 0)
        line.start = {0, TruncateToInt(d)};
    else
        line.start = {TruncateToInt((2000 - d) / g), 2000};
    line.end = {TruncateToInt(-d / g), 0};
    return line;
}

std::optional<QPoint> LineIntersection(QPoint p1, QPoint p2, QPoint p3, QPoint p4)
{
    const bool vertical1 = p1.x() == p2.x();
    const bool vertical2 = p3.x() == p4.x();
    if (vertical1 && vertical2)
        return std::nullopt;
    double x = 0;
    double y = 0;
    if (vertical1) {
        const double f = Slope(p3, p4);
        x = p1.x();
        y = f * p1.x() + (p3.y() - p3.x() * f);
    } else if (vertical2) {
        const double m = Slope(p1, p2);
        x = p3.x();
        y = m * x + (p1.y() - p1.x() * m);
    } else {
        const double m = Slope(p1, p2);
        const double f = Slope(p3, p4);
        if (m == f)
            return std::nullopt;
        const double c1 = p1.y() - p1.x() * m;
        const double c2 = p3.y() - p3.x() * f;
        x = (c2 - c1) / (m - f);
        y = m * x + c1;
    }
    return QPoint(TruncateToInt(x), TruncateToInt(y));
}

std::optional<Circle> CircleFrom3Points(QPoint p1, QPoint p2, QPoint p3)
{
    if (p3 == QPoint(0, 0)) {
        const auto mx = (static_cast<std::int64_t>(p1.x()) + p2.x()) / 2;
        const auto my = (static_cast<std::int64_t>(p1.y()) + p2.y()) / 2;
        return Circle{{static_cast<int>(mx), static_cast<int>(my)},
                      static_cast<int>(PixelDistance(p1, p2) / 2)};
    }
    // Slopes of the perpendicular bisectors; 0 flags a horizontal or vertical one.
    const double o = p1.y() == p2.y() ? 0.0 : Diff(p2.x(), p1.x()) / Diff(p1.y(), p2.y());
    const double t = p2.y() == p3.y() ? 0.0 : Diff(p3.x(), p2.x()) / Diff(p2.y(), p3.y());
    if (t == o)
        return std::nullopt;

    const double mx1 = (static_cast<double>(p1.x()) + p2.x()) / 2;
    const double my1 = (static_cast<double>(p1.y()) + p2.y()) / 2;
    const double mx2 = (static_cast<double>(p2.x()) + p3.x()) / 2;
    const double my2 = (static_cast<double>(p2.y()) + p3.y()) / 2;
    const double w = my1 - o * mx1;
    const double c = my2 - t * mx2;

    double x = 0;
    double y = 0;
    if (o != 0 && t != 0) {
        if (p1.x() == p2.x() && p2.x() == p3.x())
            return std::nullopt;
        x = (c - w) / (o - t);
        y = w + o * x;
    } else if (o != 0) {
        if (p2.y() == p3.y()) {
            x = mx2;
            y = w + o * x;
        } else {
            y = TruncateToInt(my2);
            x = (y - w) / o;
        }
    } else if (p1.y() == p2.y()) {
        x = mx1;
        y = c + t * x;
    } else {
        y = TruncateToInt(my1);
        x = (y - c) / t;
    }
    Circle circle;
    circle.center = {TruncateToInt(x), TruncateToInt(y)};
    circle.radius = ClampDistance(PixelDistance(p1, circle.center));
    return circle;
}


QPointF ExactPerpendicularFoot(QPointF a, QPointF b, QPointF p)
{
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double len2 = dx * dx + dy * dy;
    if (len2 == 0)
        return a;
    const double t = ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len2;
    return {a.x() + t * dx, a.y() + t * dy};
}

QPointF ExactPerpendicularFoot(QPoint a, QPoint b, QPoint p)
{
    return ExactPerpendicularFoot(QPointF(a), QPointF(b), QPointF(p));
}

std::optional<QPointF> ExactLineIntersection(QPointF p1, QPointF p2, QPointF p3, QPointF p4)
{
    const double d1x = p2.x() - p1.x();
    const double d1y = p2.y() - p1.y();
    const double d2x = p4.x() - p3.x();
    const double d2y = p4.y() - p3.y();
    const double denom = Cross(d1x, d1y, d2x, d2y);
    if (denom == 0)
        return std::nullopt;
    const double t = Cross(p3.x() - p1.x(), p3.y() - p1.y(), d2x, d2y) / denom;
    return QPointF(p1.x() + t * d1x, p1.y() + t * d1y);
}

std::optional<QPointF> ExactLineIntersection(QPoint p1, QPoint p2, QPoint p3, QPoint p4)
{
    const bool vertical1 = p1.x() == p2.x();
    const bool vertical2 = p3.x() == p4.x();
    if (vertical1 && vertical2)
        return std::nullopt;
    if (!vertical1 && !vertical2 && Slope(p1, p2) == Slope(p3, p4))
        return std::nullopt;
    return ExactLineIntersection(QPointF(p1), QPointF(p2), QPointF(p3), QPointF(p4));
}

std::optional<ExactCircle> ExactCircleFrom3Points(QPointF p1, QPointF p2, QPointF p3)
{
    // Circumcentre relative to p1, which keeps the products small.
    const double bx = p2.x() - p1.x();
    const double by = p2.y() - p1.y();
    const double cx = p3.x() - p1.x();
    const double cy = p3.y() - p1.y();
    const double d = 2 * Cross(bx, by, cx, cy);
    if (d == 0)
        return std::nullopt;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / d;
    const double uy = (bx * c2 - cx * b2) / d;
    return ExactCircle{{p1.x() + ux, p1.y() + uy}, std::hypot(ux, uy)};
}

std::optional<ExactCircle> ExactCircleFrom3Points(QPoint p1, QPoint p2, QPoint p3)
{
    if (p3 == QPoint(0, 0)) {
        const QPointF m((static_cast<double>(p1.x()) + p2.x()) / 2,
                        (static_cast<double>(p1.y()) + p2.y()) / 2);
        return ExactCircle{m, std::hypot(Diff(p2.x(), p1.x()), Diff(p2.y(), p1.y())) / 2};
    }
    if (FindsNoCircle(p1, p2, p3))
        return std::nullopt;
    return ExactCircleFrom3Points(QPointF(p1), QPointF(p2), QPointF(p3));
}

double ArcLength(QPointF p, QPointF q, QPointF c)
{
    const double r = std::hypot(p.x() - c.x(), p.y() - c.y());
    const double tp = std::atan2(p.y() - c.y(), p.x() - c.x());
    const double tq = std::atan2(q.y() - c.y(), q.x() - c.x());
    double delta = std::abs(tq - tp);
    if (delta > std::numbers::pi)
        delta = 2 * std::numbers::pi - delta;
    return delta * r;
}

}  // namespace orv
