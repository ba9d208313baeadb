// Uncertainties against a Monte Carlo run of the same formula: clicks drawn
// uniformly within their pixel, the scale drawn around its value.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "measure/measure_formula.h"
#include "measure/uncertainty.h"
#include "measure/values.h"

constexpr double kBarPixelUncertaintyForTest = 0.408248290463863;  // sqrt(2) x 0.5 / sqrt(3)

using namespace orv;

namespace {

struct Case {
    const char *name;
    MeasureKind kind;
    std::vector<QPoint> points;
    double sx, sy;
    double usx, usy;  // of sx and sy
    bool sameScale;
};

MeasureItem Placed(const Case &c, ScaleFactors &f)
{
    MeasureItem item;
    item.kind = c.kind;
    for (const QPoint p : c.points)
        AppendPoint(item, p);
    f.sx = c.sx;
    f.sy = c.sy;
    f.uncertainty = {kDefaultClickUncertainty, c.usx, c.usy, c.sameScale};
    ComputeMeasureValue(item, f, Language::English);
    return item;
}

// Standard deviation of each output over the draws.
std::vector<double> MonteCarlo(const MeasureItem &item, const Case &c, int draws)
{
    std::mt19937_64 rng(20261208);
    std::uniform_real_distribution<double> click(-0.5, 0.5);
    std::normal_distribution<double> unit(0.0, 1.0);
    const std::vector<QPointF> nominal = FormulaPoints(item);
    std::vector<double> sum, sum2;
    for (int d = 0; d < draws; ++d) {
        std::vector<QPointF> p = nominal;
        for (QPointF &q : p)
            q += QPointF(click(rng), click(rng));
        const double ex = unit(rng);
        const double ey = c.sameScale ? ex * c.usy / (c.usx > 0 ? c.usx : 1.0) : unit(rng);
        const double sx = c.sx + ex * c.usx;
        const double sy = c.sy + (c.sameScale ? ex * c.usy : ey * c.usy);
        const std::vector<double> out =
            EvaluateFormula(item.kind, p, FormulaGeometry(item.kind, p, item.exact), sx, sy);
        sum.resize(out.size());
        sum2.resize(out.size());
        for (std::size_t k = 0; k < out.size(); ++k) {
            sum[k] += out[k];
            sum2[k] += out[k] * out[k];
        }
    }
    std::vector<double> sd(sum.size());
    for (std::size_t k = 0; k < sd.size(); ++k) {
        const double mean = sum[k] / draws;
        sd[k] = std::sqrt(std::max(0.0, sum2[k] / draws - mean * mean) * draws / (draws - 1));
    }
    return sd;
}

const std::vector<Case> kCases = {
    {"distance", KindDistance2Points, {{10, 20}, {110, 70}}, 0.107, 0.107, 0, 0, true},
    {"distance, bar scales", KindDistance2Points, {{10, 20}, {110, 70}}, 0.107, 0.095, 4e-4, 5e-4, false},
    {"arc", KindDistanceArc, {{200, 100}, {100, 200}, {171, 171}}, 0.5, 0.5, 0.002, 0.002, true},
    {"two circles", KindDistanceCircles, {{0, 100}, {100, 0}, {200, 100}, {300, 400}, {400, 300}, {500, 400}},
     1, 1, 0, 0, true},
    {"perpendicular", KindPerpendicular, {{301, 55}, {511, 75}, {431, 135}, {350, 10}}, 0.107, 0.107, 0, 0, true},
    {"parallel", KindParallel, {{301, 55}, {511, 75}, {431, 135}, {250, 190}}, 0.107, 0.12, 3e-4, 3e-4, false},
    {"broken line", KindBrokenLine, {{0, 0}, {50, 10}, {120, -20}, {200, 40}}, 1, 1, 0.004, 0.004, true},
    {"polygon", KindAreaPolygon, {{0, 0}, {100, 10}, {120, 90}, {10, 110}}, 0.2, 0.3, 0.001, 0.002, false},
    {"circle", KindAreaCircle, {{0, 100}, {100, 0}, {200, 100}}, 0.107, 0.107, 4e-4, 4e-4, true},
    {"ellipse", KindAreaCircle, {{3, 41}, {57, 2}, {90, 60}}, 0.1, 0.2, 4e-4, 1e-3, false},
    {"angle", KindAngle3Points, {{100, 0}, {0, 0}, {70, 70}}, 1, 1, 0, 0, true},
    {"reflex angle", KindAngle3PointsType2, {{100, 5}, {3, 0}, {70, 71}}, 1, 1, 0, 0, true},
    {"two lines", KindAngle2Lines, {{0, 0}, {100, 20}, {0, 100}, {90, 50}}, 1, 1, 0, 0, true},
};

TEST(Uncertainty, EveryOutputAgreesWithMonteCarloWithinFivePercent)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        ScaleFactors f;
        const MeasureItem item = Placed(c, f);
        const std::vector<double> u = OutputUncertainties(item, c.sx, c.sy, f.uncertainty);
        const std::vector<double> mc = MonteCarlo(item, c, 10000);
        ASSERT_EQ(u.size(), mc.size());
        ASSERT_FALSE(u.empty());
        bool anyVaries = false;
        for (std::size_t k = 0; k < u.size(); ++k) {
            SCOPED_TRACE(k);
            if (mc[k] < 1e-12) {
                EXPECT_LT(u[k], 1e-9);  // a constant output (the 0 of a perpendicular)
                continue;
            }
            anyVaries = true;
            EXPECT_NEAR(u[k], mc[k], 0.05 * mc[k]);
        }
        EXPECT_TRUE(anyVaries);
    }
}

TEST(Uncertainty, ValuesAndSubResultsCarryTheirOutputsUncertainty)
{
    for (const Case &c : kCases) {
        SCOPED_TRACE(c.name);
        ScaleFactors f;
        const MeasureItem item = Placed(c, f);
        const std::vector<double> u = OutputUncertainties(item, c.sx, c.sy, f.uncertainty);
        EXPECT_DOUBLE_EQ(item.uncertainty, u[0]);
        if (c.kind == KindPerpendicular || c.kind == KindParallel) {
            ASSERT_EQ(item.subResults.size(), c.points.size() - 2);
            for (std::size_t i = 2; i < c.points.size(); ++i)
                EXPECT_EQ(item.subResults[i - 2].uncertainty, std::vector<double>{u[FootOutput(i)]});
        }
        if (c.kind == KindAreaCircle) {
            const bool pair = c.sx != c.sy;
            ASSERT_EQ(item.subResults.size(), 3u);
            EXPECT_EQ(item.subResults[0].uncertainty.size(), pair ? 2u : 1u);
            EXPECT_DOUBLE_EQ(item.subResults[1].uncertainty.back(), u[pair ? CircleRadiusV : CircleRadiusH]);
            EXPECT_DOUBLE_EQ(item.subResults[2].uncertainty.at(0), u[CirclePerimeter]);
        }
    }
}

// Worked by hand: each end moves the length by its click along the line,
// and a shared scale moves it by its relative uncertainty in full.
TEST(Uncertainty, DistancesInClosedForm)
{
    const double ends = std::sqrt(2.0) * kDefaultClickUncertainty;
    const double bar = kBarPixelUncertaintyForTest / 100;  // relative, 100 px bars
    struct Row {
        const char *name;
        QPoint b;  // from (0, 0)
        double sx, sy, rx, ry;  // scales and their relative uncertainties
        bool same;
        double expected;
    };
    const Row rows[] = {
        {"typed scale", {100, 0}, 0.107, 0.107, 0, 0, true, ends * 0.107},
        {"bar scale", {100, 0}, 0.107, 0.107, bar, bar, true, std::hypot(ends * 0.107, 10.7 * bar)},
        {"vertical reads sy", {0, 100}, 0.5, 0.2, 0.01, 0.02, false, std::hypot(ends * 0.2, 20 * 0.02)},
        {"diagonal, one scale", {60, 80}, 1, 1, 0.01, 0.01, true, std::hypot(ends, 1.0)},
        {"diagonal, two scales", {60, 80}, 1, 1, 0.01, 0.01, false, std::hypot(ends, std::hypot(0.36, 0.64))},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        MeasureItem item;
        item.kind = KindDistance2Points;
        AppendPoint(item, {0, 0});
        AppendPoint(item, r.b);
        ScaleFactors f;
        f.sx = r.sx;
        f.sy = r.sy;
        f.uncertainty = {kDefaultClickUncertainty, r.sx * r.rx, r.sy * r.ry, r.same};
        ComputeMeasureValue(item, f, Language::English);
        EXPECT_NEAR(item.uncertainty, r.expected, 1e-6 * r.expected);
    }
}

// A circle that three collinear points keep from before does not follow them.
TEST(Uncertainty, KeptCircleTakesOnlyTheScalesPart)
{
    MeasureItem item;
    item.kind = KindAreaCircle;
    item.exact.radius = 10;
    for (const QPoint p : {QPoint(0, 0), QPoint(10, 10), QPoint(20, 20)})
        AppendPoint(item, p);
    ScaleFactors f;
    f.uncertainty = {kDefaultClickUncertainty, 0.01, 0.01, true};
    ComputeMeasureValue(item, f, Language::English);
    ASSERT_DOUBLE_EQ(item.exact.radius, 10);
    EXPECT_NEAR(item.uncertainty, 2 * 0.01 * item.value, 1e-9);  // area goes with the scale squared
}

}  // namespace
