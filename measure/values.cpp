#include "measure/values.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "measure/derive.h"
#include "measure/geometry.h"
#include "measure/measure_formula.h"
#include "measure/units.h"

namespace orv {
namespace {

// Overflowing products (absurd scales or coordinates) must not reach a text.
double Finite(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

double At(const std::vector<double> &v, std::size_t k)
{
    return k < v.size() ? Finite(v[k]) : 0.0;
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
void ComputeFootDistances(MeasureItem &item, const std::vector<double> &out, const std::vector<double> &u,
                          const ScaleFactors &f, Language lang)
{
    const int partKind = item.kind == KindPerpendicular ? KindPerpendicularPart : KindParallelPart;
    for (std::size_t i = 2; i < item.points.size(); ++i) {
        const double d = At(out, FootOutput(i));
        SetSubResult(item, i - 2, FormatValueWithSuffix(d, f.unit, lang), partKind, 0, item.points[i].pos);
        item.subResults[i - 2].uncertainty = {At(u, FootOutput(i))};
    }
}

void ComputeCircleTexts(MeasureItem &item, const std::vector<double> &out, const std::vector<double> &u,
                        const ScaleFactors &f, Language lang)
{
    const double rh = At(out, CircleRadiusH);
    const double rv = At(out, CircleRadiusV);
    const int unit = f.unit;
    const char *suffix = UnitSuffix(unit, lang);
    const bool english = lang == Language::English;
    const QPoint anchor = item.points.empty() ? QPoint() : item.points.front().pos;

    std::string diameter;
    std::string radius;
    std::vector<double> uDiameter{At(u, CircleDiameterH)};
    std::vector<double> uRadius{At(u, CircleRadiusH)};
    if (rv == rh) {
        diameter = LabelledValue(english ? "D" : "\u03A6", At(out, CircleDiameterH), unit, suffix);
        radius = LabelledValue("R", rh, unit, suffix);
    } else {
        const double dh = At(out, CircleDiameterH);
        const double dv = At(out, CircleDiameterV);
        diameter = english ? PairText("Dh", dh, "Dv", dv, suffix) : PairText("\u03A6h", dh, "\u03A6v", dv, suffix);
        radius = PairText("Rh", rh, "Rv", rv, suffix);
        uDiameter.push_back(At(u, CircleDiameterV));
        uRadius.push_back(At(u, CircleRadiusV));
    }
    SetSubResult(item, 0, diameter, KindDiameter, -1, anchor);
    SetSubResult(item, 1, radius, KindRadius, -1, anchor);
    SetSubResult(item, 2, LabelledValue("L", At(out, CirclePerimeter), unit, suffix), KindCircumference, -1,
                 anchor);
    item.subResults[0].uncertainty = std::move(uDiameter);
    item.subResults[1].uncertainty = std::move(uRadius);
    item.subResults[2].uncertainty = {At(u, CirclePerimeter)};
}

}  // namespace

void ComputeMeasureValue(MeasureItem &item, const ScaleFactors &f, Language lang)
{
    UpdateDerivedGeometry(item);
    if (item.labelBox.bottom != 0)
        item.labelBox.bottom = -1;

    const std::size_t n = item.points.size();
    const int u = f.unit;
    const std::vector<double> out = EvaluateFormula(item.kind, FormulaPoints(item), item.exact, f.sx, f.sy);
    switch (item.kind) {
    case KindDistanceArc:
        if (f.sy != f.sx) {
            item.value = 0.0;  // an arc has no length under unequal scales
            item.uncertainty = 0.0;
            return;
        }
        [[fallthrough]];
    case KindDistance2Points:
        if (out.empty())
            return;
        item.unit = u;
        break;
    case KindDistanceCircles:
    case KindPerpendicular:
    case KindParallel:
    case KindBrokenLine:
        item.unit = u;
        break;
    case KindAreaPolygon:
    case KindAreaCircle:
        item.unit = u + 4;
        break;
    case KindAngle3Points:
    case KindAngle3PointsType2:
        if (out.empty())
            return;
        item.unit = UnitDegree;
        break;
    case KindAngle2Lines:
        // Parallel lines have no angle; a vertex at x or y = 999 is a real one.
        if (n < 3 || AngleLinesParallel(item))
            return;
        item.unit = UnitDegree;
        break;
    case KindText:
    case KindStandardLine:
    case KindStandardParallel:
        item.unit = UnitNone;
        return;
    default:
        return;
    }
    const std::vector<double> uncertainty = OutputUncertainties(item, f.sx, f.sy, f.uncertainty);
    item.value = At(out, 0);
    item.uncertainty = At(uncertainty, 0);
    if (item.kind == KindPerpendicular || item.kind == KindParallel)
        ComputeFootDistances(item, out, uncertainty, f, lang);
    else if (item.kind == KindAreaCircle)
        ComputeCircleTexts(item, out, uncertainty, f, lang);
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
