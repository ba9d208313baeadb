#include "measure/measure_formula.h"

#include <cmath>
#include <numbers>

#include "measure/geometry.h"

namespace orv {
namespace {

constexpr double kPi = std::numbers::pi;

double ScaledLength(QPointF a, QPointF b, double sx, double sy)
{
    const double dx = (a.x() - b.x()) * sx;
    const double dy = (a.y() - b.y()) * sy;
    return std::sqrt(dx * dx + dy * dy);
}

double PolygonArea(const std::vector<QPointF> &points, double sx, double sy)
{
    if (points.size() < 2)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF a = points[i];
        const QPointF b = points[(i + 1) % points.size()];
        sum += 0.5 * (sy * (a.y() + b.y())) * (sx * (a.x() - b.x()));
    }
    return std::abs(sum);
}

// Ramanujan's second approximation; exact for a circle.
double EllipsePerimeter(double a, double b)
{
    a = std::abs(a);
    b = std::abs(b);
    if (a + b == 0.0)
        return 0.0;
    const double h = ((a - b) / (a + b)) * ((a - b) / (a + b));
    return kPi * (a + b) * (1.0 + 3.0 * h / (10.0 + std::sqrt(4.0 - 3.0 * h)));
}

void CircleOf(const std::vector<QPointF> &p, std::size_t first, QPointF &center, double &radius)
{
    if (const std::optional<ExactCircle> c = ExactCircleFrom3Points(p[first], p[first + 1], p[first + 2])) {
        center = c->center;
        radius = c->radius;
    }
}

std::vector<double> CircleOutputs(double r, double sx, double sy)
{
    const double rh = r * sx;
    const double rv = r * sy;
    std::vector<double> out(CircleOutputCount);
    out[CircleArea] = kPi * rh * rv;
    out[CircleDiameterH] = 2 * rh;
    out[CircleDiameterV] = 2 * rv;
    out[CircleRadiusH] = rh;
    out[CircleRadiusV] = rv;
    out[CirclePerimeter] = rv == rh ? kPi * (2 * rh) : EllipsePerimeter(rh, rv);
    return out;
}

}  // namespace

double IncludedAngle(QPointF first, QPointF vertex, QPointF third)
{
    const double a1 = std::atan2(first.y() - vertex.y(), first.x() - vertex.x());
    const double a2 = std::atan2(third.y() - vertex.y(), third.x() - vertex.x());
    double a = std::abs(a1 - a2) * 180.0 / kPi;
    if (a > 180.0)
        a = 360.0 - a;
    return a;
}

std::vector<QPointF> FormulaPoints(const MeasureItem &item)
{
    std::vector<QPointF> out;
    if (item.kind == KindDistanceArc && item.points.size() >= 3) {
        const MeasurePoint &p = item.points.front();
        return {QPointF(p.foot), QPointF(p.lineStart), QPointF(p.lineEnd)};
    }
    out.reserve(item.points.size());
    for (const MeasurePoint &p : item.points)
        out.emplace_back(p.pos);
    return out;
}

ExactGeometry FormulaGeometry(MeasureKind kind, const std::vector<QPointF> &p, const ExactGeometry &previous)
{
    ExactGeometry g = previous;
    const std::size_t n = p.size();
    switch (kind) {
    case KindDistanceArc:
    case KindAreaCircle:
        if (n >= 3)
            CircleOf(p, 0, g.center, g.radius);
        break;
    case KindDistanceCircles:
        if (n >= 3)
            CircleOf(p, 0, g.center, g.radius);
        if (n >= 6)
            CircleOf(p, 3, g.center2, g.radius2);
        break;
    case KindPerpendicular:
    case KindParallel:
    case KindStandardParallel:
        g.feet.assign(n, QPointF());
        for (std::size_t i = 2; i < n; ++i)
            g.feet[i] = ExactPerpendicularFoot(p[0], p[1], p[i]);
        break;
    case KindAngle2Lines:
        if (n >= 4) {
            if (const std::optional<QPointF> v = ExactLineIntersection(p[0], p[1], p[2], p[3]))
                g.center = *v;
        }
        break;
    default:
        break;
    }
    return g;
}

std::vector<double> EvaluateFormula(MeasureKind kind, const std::vector<QPointF> &p, const ExactGeometry &g,
                                    double sx, double sy)
{
    const std::size_t n = p.size();
    switch (kind) {
    case KindDistance2Points:
        if (n < 2)
            return {};
        return {ScaledLength(p[0], p[1], sx, sy)};
    case KindDistanceArc:
        if (n < 3)
            return {};
        if (sy != sx)
            return {0.0};  // an arc has no length under unequal scales
        return {(ArcLength(p[0], p[1], g.center) + ArcLength(p[1], p[2], g.center)) * sx};
    case KindDistanceCircles:
        return {ScaledLength(g.center, g.center2, sx, sy)};
    case KindPerpendicular:
    case KindParallel: {
        std::vector<double> out{0.0};
        for (std::size_t i = 2; i < n; ++i)
            out.push_back(ScaledLength(p[i], i < g.feet.size() ? g.feet[i] : p[i], sx, sy));
        return out;
    }
    case KindBrokenLine: {
        double sum = 0.0;
        for (std::size_t i = 1; i < n; ++i)
            sum += ScaledLength(p[i - 1], p[i], sx, sy);
        return {sum};
    }
    case KindAreaPolygon:
        return {PolygonArea(p, sx, sy)};
    case KindAreaCircle:
        return CircleOutputs(g.radius, sx, sy);
    case KindAngle3Points:
        if (n < 3)
            return {};
        return {IncludedAngle(p[0], p[1], p[2])};
    case KindAngle3PointsType2:
        if (n < 3)
            return {};
        return {360.0 - IncludedAngle(p[0], p[1], p[2])};
    case KindAngle2Lines:
        if (n < 3)
            return {};
        return {IncludedAngle(p[0], g.center, p[2])};
    default:
        return {};
    }
}

}  // namespace orv
