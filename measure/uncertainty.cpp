#include "measure/uncertainty.h"

#include <algorithm>
#include <cmath>

#include "measure/derive.h"
#include "measure/measure_formula.h"
#include "measure/units.h"

namespace orv {
namespace {

// Central differences: small against a pixel, large against rounding.
constexpr double kPointStep = 1e-4;
constexpr double kScaleStep = 1e-6;  // relative

bool SameOutputs(const std::vector<double> &a, const std::vector<double> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (!(std::abs(a[k] - b[k]) <= 1e-9 * std::max(1.0, std::abs(a[k]))))
            return false;
    }
    return true;
}

// Lengths of an area item's lines are in the area's length unit.
int LengthUnitOf(int unit)
{
    return unit >= UnitMillimetre + 4 && unit <= UnitInch + 4 ? unit - 4 : unit;
}

}  // namespace

std::string ExpandedUncertaintyText(const MeasureItem &item)
{
    // Perpendiculars and parallels show theirs on their sub-results.
    const bool subForm = item.kind == KindPerpendicular || item.kind == KindParallel;
    if (!HasMeasureValue(item) || item.unit == UnitNone || subForm || item.points.empty())
        return {};
    return FormatMeasureValue(kCoverageFactor * item.uncertainty, item.unit);
}

std::string ExpandedUncertaintyText(const MeasureItem &item, const SubResult &sub)
{
    std::string text;
    for (const double u : sub.uncertainty) {
        if (!text.empty())
            text += " / ";
        text += FormatMeasureValue(kCoverageFactor * u, LengthUnitOf(item.unit));
    }
    return text;
}

std::vector<double> OutputUncertainties(const MeasureItem &item, double sx, double sy,
                                        const UncertaintyInputs &u)
{
    const std::vector<QPointF> points = FormulaPoints(item);
    const std::vector<double> nominal = EvaluateFormula(item.kind, points, item.exact, sx, sy);
    std::vector<double> variance(nominal.size(), 0.0);
    if (nominal.empty())
        return variance;

    auto evaluate = [&](const std::vector<QPointF> &p) {
        return EvaluateFormula(item.kind, p, FormulaGeometry(item.kind, p, item.exact), sx, sy);
    };
    // A circle kept from earlier points (collinear ones) does not follow the
    // clicks, so they add nothing. Geometry the points find for themselves
    // owes nothing to an unusable previous one.
    ExactGeometry unusable;
    unusable.center = unusable.center2 = QPointF(std::nan(""), std::nan(""));
    unusable.radius = unusable.radius2 = std::nan("");
    const std::vector<double> own =
        EvaluateFormula(item.kind, points, FormulaGeometry(item.kind, points, unusable), sx, sy);
    if (u.click > 0 && SameOutputs(own, nominal)) {
        std::vector<QPointF> moved = points;
        for (std::size_t i = 0; i < points.size(); ++i) {
            for (const bool alongX : {true, false}) {
                auto shift = [&](double d) {
                    moved[i] = points[i] + (alongX ? QPointF(d, 0) : QPointF(0, d));
                    return evaluate(moved);
                };
                const std::vector<double> up = shift(kPointStep);
                const std::vector<double> down = shift(-kPointStep);
                moved[i] = points[i];
                for (std::size_t k = 0; k < variance.size() && k < up.size() && k < down.size(); ++k) {
                    const double c = (up[k] - down[k]) / (2 * kPointStep) * u.click;
                    variance[k] += c * c;
                }
            }
        }
    }

    // Sensitivities to a relative change of each scale. An arc is only
    // measured under equal scales and reads the horizontal one, so both move.
    auto relative = [&](double ex, double ey) {
        const std::vector<double> up =
            EvaluateFormula(item.kind, points, item.exact, sx * (1 + ex), sy * (1 + ey));
        const std::vector<double> down =
            EvaluateFormula(item.kind, points, item.exact, sx * (1 - ex), sy * (1 - ey));
        std::vector<double> d(nominal.size(), 0.0);
        for (std::size_t k = 0; k < d.size() && k < up.size() && k < down.size(); ++k)
            d[k] = (up[k] - down[k]) / (2 * kScaleStep);
        return d;
    };
    const double rx = sx != 0 ? u.sx / sx : 0.0;
    const double ry = sy != 0 ? u.sy / sy : 0.0;
    if (item.kind == KindDistanceArc) {
        const std::vector<double> d = relative(kScaleStep, kScaleStep);
        for (std::size_t k = 0; k < d.size(); ++k)
            variance[k] += (d[k] * rx) * (d[k] * rx);
    } else if (rx > 0 || ry > 0) {
        const std::vector<double> dx = relative(kScaleStep, 0);
        const std::vector<double> dy = relative(0, kScaleStep);
        for (std::size_t k = 0; k < variance.size(); ++k) {
            const double cx = dx[k] * rx;
            const double cy = dy[k] * ry;
            variance[k] += u.sameScale ? (cx + cy) * (cx + cy) : cx * cx + cy * cy;
        }
    }
    for (double &v : variance)
        v = std::sqrt(v);
    return variance;
}

}  // namespace orv
