#include "measure/values.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "measure/derive.h"
#include "measure/geometry.h"
#include "measure/units.h"

namespace orv {
namespace {

constexpr double kPi = std::numbers::pi;

// Overflowing products (absurd scales or coordinates) must not reach a text.
double Finite(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

double ScaledLength(QPointF a, QPointF b, const ScaleFactors &f)
{
    const double dx = a.x() - b.x();
    const double dy = a.y() - b.y();
    return std::sqrt((dx * f.sx) * (dx * f.sx) + (dy * f.sy) * (dy * f.sy));
}

// Included angle at the vertex, 0..180 degrees.
double IncludedAngle(QPoint first, QPointF vertex, QPoint third)
{
    const double a1 = std::atan2(first.y() - vertex.y(), first.x() - vertex.x());
    const double a2 = std::atan2(third.y() - vertex.y(), third.x() - vertex.x());
    double a = std::abs(a1 - a2) * 180.0 / kPi;
    if (a > 180.0)
        a = 360.0 - a;
    return a;
}

double PolygonArea(const std::vector<MeasurePoint> &points, const ScaleFactors &f)
{
    if (points.size() < 2)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPoint a = points[i].pos;
        const QPoint b = points[(i + 1) % points.size()].pos;
        sum += 0.5 * (f.sy * (static_cast<double>(a.y()) + b.y()))
               * (f.sx * (static_cast<double>(a.x()) - b.x()));
    }
    return std::abs(sum);
}

// Always "%.2f", whatever the unit.
std::string Fixed2(double v)
{
    return FormatMeasureValue(v, UnitMillimetre);
}

// "<h> = %.2f%s / <v> = %.2f%s"
std::string PairText(const char *h, double a, const char *v, double b, const char *suffix)
{
    return std::string(h) + " = " + Fixed2(a) + suffix + " / " + v + " = " + Fixed2(b) + suffix;
}

// "<label> = %.2f%s", or "<label> =%s%s" with the short inch text.
std::string LabelledValue(const char *label, double v, int unit, const char *suffix)
{
    const std::string number = FormatMeasureValue(v, unit);
    return std::string(label) + (IsShortInchValue(v, unit) ? " =" : " = ") + number + suffix;
}

void SetSubResult(MeasureItem &item, std::size_t index, std::string text, int kind, int row,
                  QPoint anchor)
{
    text = CutToRecord(std::move(text));
    if (index < item.subResults.size())
        item.subResults[index].text = std::move(text);
    else
        AppendSubResult(item, text, kind, row, anchor);
}

// Perpendicular / parallel distances of every point from the third on.
void ComputeFootDistances(MeasureItem &item, const ScaleFactors &f, Language lang)
{
    const int partKind = item.kind == KindPerpendicular ? KindPerpendicularPart : KindParallelPart;
    for (std::size_t i = 2; i < item.points.size(); ++i) {
        const MeasurePoint &p = item.points[i];
        const QPointF foot = i < item.exact.feet.size() ? item.exact.feet[i] : QPointF(p.foot);
        const double d = Finite(ScaledLength(p.pos, foot, f));
        SetSubResult(item, i - 2, FormatValueWithSuffix(d, f.unit, lang), partKind, 0, p.pos);
    }
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

void ComputeCircleTexts(MeasureItem &item, const ScaleFactors &f, Language lang)
{
    const double rh = Finite(item.exact.radius * f.sx);
    const double rv = Finite(item.exact.radius * f.sy);
    const int u = f.unit;
    const char *suffix = UnitSuffix(u, lang);
    const bool english = lang == Language::English;
    const QPoint anchor = item.points.empty() ? QPoint() : item.points.front().pos;

    std::string diameter;
    std::string radius;
    double perimeter = 0.0;
    if (rv == rh) {
        diameter = LabelledValue(english ? "D" : "\u03A6", 2 * rh, u, suffix);
        radius = LabelledValue("R", rh, u, suffix);
        perimeter = kPi * (2 * rh);
    } else {
        diameter = english ? PairText("Dh", 2 * rh, "Dv", 2 * rv, suffix)
                           : PairText("\u03A6h", 2 * rh, "\u03A6v", 2 * rv, suffix);
        radius = PairText("Rh", rh, "Rv", rv, suffix);
        perimeter = EllipsePerimeter(rh, rv);
    }
    SetSubResult(item, 0, diameter, KindDiameter, -1, anchor);
    SetSubResult(item, 1, radius, KindRadius, -1, anchor);
    SetSubResult(item, 2, LabelledValue("L", Finite(perimeter), u, suffix), KindCircumference, -1,
                 anchor);
}

}  // namespace

void ComputeMeasureValue(MeasureItem &item, const ScaleFactors &f, Language lang)
{
    UpdateDerivedGeometry(item);
    if (item.labelBox.bottom != 0)
        item.labelBox.bottom = -1;

    const auto &pts = item.points;
    const int u = f.unit;
    switch (item.kind) {
    case KindDistance2Points:
        if (pts.size() < 2)
            return;
        item.value = Finite(ScaledLength(pts[0].pos, pts[1].pos, f));
        item.unit = u;
        break;
    case KindDistanceArc:
        if (f.sy != f.sx) {
            item.value = 0.0;  // an arc has no length under unequal scales
            break;
        }
        if (pts.empty())
            return;
        item.value = Finite((ArcLength(pts[0].foot, pts[0].lineStart, item.exact.center)
                             + ArcLength(pts[0].lineStart, pts[0].lineEnd, item.exact.center))
                            * f.sx);
        item.unit = u;
        break;
    case KindDistanceCircles:
        item.value = Finite(ScaledLength(item.exact.center, item.exact.center2, f));
        item.unit = u;
        break;
    case KindPerpendicular:
    case KindParallel:
        item.value = 0.0;
        item.unit = u;
        ComputeFootDistances(item, f, lang);
        break;
    case KindBrokenLine: {
        double sum = 0.0;
        for (std::size_t i = 1; i < pts.size(); ++i)
            sum += ScaledLength(pts[i - 1].pos, pts[i].pos, f);
        item.value = Finite(sum);
        item.unit = u;
        break;
    }
    case KindAreaPolygon:
        item.value = Finite(PolygonArea(pts, f));
        item.unit = u + 4;
        break;
    case KindAreaCircle: {
        const double rh = item.exact.radius * f.sx;
        const double rv = item.exact.radius * f.sy;
        item.value = Finite(kPi * rh * rv);
        item.unit = u + 4;
        ComputeCircleTexts(item, f, lang);
        break;
    }
    case KindAngle3Points:
        if (pts.size() < 3)
            return;
        item.value = IncludedAngle(pts[0].pos, pts[1].pos, pts[2].pos);
        item.unit = UnitDegree;
        break;
    case KindAngle2Lines:
        // Parallel lines have no angle; a vertex at x or y = 999 is a real one.
        if (pts.size() < 3 || AngleLinesParallel(item))
            return;
        item.value = IncludedAngle(pts[0].pos, item.exact.center, pts[2].pos);
        item.unit = UnitDegree;
        break;
    case KindText:
    case KindStandardLine:
    case KindStandardParallel:
        item.unit = UnitNone;
        break;
    case KindAngle3PointsType2:
        if (pts.size() < 3)
            return;
        item.value = 360.0 - IncludedAngle(pts[0].pos, pts[1].pos, pts[2].pos);
        item.unit = UnitDegree;
        break;
    default:
        break;
    }
}

namespace {

// What an item's labels show, apart from its number.
bool SameLabelTexts(const MeasureItem &a, const MeasureItem &b)
{
    return a.value == b.value && a.unit == b.unit &&
           std::equal(a.subResults.begin(), a.subResults.end(), b.subResults.begin(), b.subResults.end(),
                      [](const SubResult &x, const SubResult &y) { return x.text == y.text; });
}

}  // namespace

void RecomputeAllMeasures(MeasureList &list, const ScaleFactors &f, Language lang,
                          const std::function<void(MeasureItem &)> &refreshRows)
{
    for (const auto &item : list) {
        const MeasureItem before = *item;
        ComputeMeasureValue(*item, f, lang);
        // Labels whose texts stay as they were keep their boxes: nothing
        // needs measuring again, and nothing moves.
        if (SameLabelTexts(*item, before))
            item->labelBox = before.labelBox;
        if (refreshRows)
            refreshRows(*item);
    }
}

}  // namespace orv
