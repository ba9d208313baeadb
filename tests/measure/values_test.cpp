#include "measure/values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "measure/derive.h"
#include "measure/units.h"

using namespace orv;

namespace {

constexpr double kPi = std::numbers::pi;

MeasureItem MakeItem(MeasureKind kind, std::initializer_list<QPoint> points)
{
    MeasureItem item;
    item.kind = kind;
    for (QPoint p : points)
        AppendPoint(item, p);
    return item;
}

ScaleFactors Scale(double sx, double sy, int unit)
{
    return ScaleFactors{sx, sy, unit};
}

// Perimeter of the ellipse with semi-axes a, b by Simpson's rule.
double IntegratedPerimeter(double a, double b)
{
    const int n = 20000;
    const double h = 2 * kPi / n;
    auto f = [&](double t) { return std::sqrt(a * a * std::sin(t) * std::sin(t)
                                              + b * b * std::cos(t) * std::cos(t)); };
    double sum = f(0) + f(2 * kPi);
    for (int i = 1; i < n; ++i)
        sum += f(i * h) * (i % 2 ? 4 : 2);
    return sum * h / 3;
}

// The number after "L =" in a circumference text.
double NumberAfter(const std::string &text, const std::string &prefix)
{
    EXPECT_EQ(text.rfind(prefix, 0), 0u) << text;
    return std::strtod(text.c_str() + prefix.size(), nullptr);
}

}  // namespace

TEST(ValuesTest, TwoPointDistanceWithEqualAndUnequalScales)
{
    MeasureItem item = MakeItem(KindDistance2Points, {{0, 0}, {3, 4}});
    ComputeMeasureValue(item, Scale(1, 1, UnitMillimetre), Language::English);
    EXPECT_DOUBLE_EQ(item.value, 5.0);
    EXPECT_EQ(item.unit, UnitMillimetre);
    EXPECT_EQ(FormatMeasureValue(item.value, item.unit), "5.00");

    ComputeMeasureValue(item, Scale(2, 1, UnitMicrometre), Language::English);
    EXPECT_DOUBLE_EQ(item.value, std::sqrt(52.0));
    EXPECT_EQ(item.unit, UnitMicrometre);
    EXPECT_EQ(FormatMeasureValue(item.value, item.unit), "7.21");

    ComputeMeasureValue(item, Scale(1, 2, UnitMicrometre), Language::English);
    EXPECT_DOUBLE_EQ(item.value, std::sqrt(9.0 + 64.0));
}

TEST(ValuesTest, PlacedLabelIsMarkedForRemeasure)
{
    MeasureItem placed = MakeItem(KindDistance2Points, {{0, 0}, {3, 4}});
    placed.labelBox = {10, 20, 60, 36};
    ComputeMeasureValue(placed, {}, Language::English);
    EXPECT_EQ(placed.labelBox, (LabelBox{10, 20, 60, -1}));

    MeasureItem unplaced = MakeItem(KindText, {{5, 5}});
    ComputeMeasureValue(unplaced, {}, Language::English);
    EXPECT_EQ(unplaced.labelBox.bottom, 0);
}

TEST(ValuesTest, ArcLengthFromDrawnGeometry)
{
    // The ordered arc points S, M, E are derived into the first point.
    MeasureItem arc = MakeItem(KindDistanceArc, {{10, 0}, {7, 7}, {0, 10}});
    arc.points[0].foot = {10, 0};
    arc.points[0].lineStart = {7, 7};
    arc.points[0].lineEnd = {0, 10};
    arc.center = {0, 0};
    arc.radius = 10;
    ComputeMeasureValue(arc, Scale(0.5, 0.5, UnitMillimetre), Language::English);
    // The circle through the three points is about (-0.25, -0.25): seen from
    // there, S and E are each atan(0.25 / 10.25) inside a quarter turn.
    const double r = std::hypot(10.25, 0.25);
    EXPECT_NEAR(arc.value, r * (kPi / 2 - 2 * std::atan(0.25 / 10.25)) * 0.5, 1e-9);
    EXPECT_EQ(arc.unit, UnitMillimetre);

    // Unequal scales: 0, and the unit stays as it was.
    ComputeMeasureValue(arc, Scale(1, 2, UnitInch), Language::English);
    EXPECT_EQ(arc.value, 0.0);
    EXPECT_EQ(arc.unit, UnitMillimetre);
}

TEST(ValuesTest, CircleToCircleUsesBothCentres)
{
    // Circles about (10, 10) and (13, 14).
    MeasureItem item = MakeItem(KindDistanceCircles, {{5, 10}, {10, 15}, {15, 10}, {8, 14}, {13, 19}, {18, 14}});
    ComputeMeasureValue(item, Scale(2, 2, UnitMicrometre), Language::English);
    EXPECT_DOUBLE_EQ(item.value, 10.0);
    EXPECT_EQ(item.unit, UnitMicrometre);
}

TEST(ValuesTest, PerpendicularAndParallelSubResults)
{
    for (MeasureKind kind : {KindPerpendicular, KindParallel}) {
        MeasureItem item = MakeItem(kind, {{0, 0}, {10, 0}});
        AppendPoint(item, {5, 7}, {5, 0});
        AppendPoint(item, {8, -3}, {8, 0});
        item.value = 3.0;
        ComputeMeasureValue(item, Scale(1, 1, UnitMillimetre), Language::English);
        EXPECT_EQ(item.value, 0.0);
        EXPECT_EQ(item.unit, UnitMillimetre);
        ASSERT_EQ(item.subResults.size(), 2u);
        const int partKind = kind == KindPerpendicular ? KindPerpendicularPart : KindParallelPart;
        EXPECT_EQ(item.subResults[0].text, "7.00mm");
        EXPECT_EQ(item.subResults[0].kind, partKind);
        EXPECT_EQ(item.subResults[0].row, 0);
        EXPECT_EQ(item.subResults[0].pos, QPoint(5, 7));
        EXPECT_EQ(item.subResults[1].text, "3.00mm");
        EXPECT_EQ(item.subResults[1].pos, QPoint(8, -3));

        // Recomputing replaces only the texts; rows and boxes stay.
        item.subResults[0].row = 4;
        item.subResults[0].labelBox = {1, 2, 3, 4};
        item.subResults[1].row = -1;
        ComputeMeasureValue(item, Scale(1, 2, UnitMicrometre), Language::Japanese);
        ASSERT_EQ(item.subResults.size(), 2u);
        EXPECT_EQ(item.subResults[0].text, "14.00\u03BCm");
        EXPECT_EQ(item.subResults[0].row, 4);
        EXPECT_EQ(item.subResults[0].labelBox, (LabelBox{1, 2, 3, 4}));
        EXPECT_EQ(item.subResults[1].text, "6.00\u03BCm");
        EXPECT_EQ(item.subResults[1].row, -1);

        // A point added later gets its own sub-result.
        AppendPoint(item, {2, 0}, {2, 0});
        ComputeMeasureValue(item, Scale(0.01, 0.01, UnitInch), Language::English);
        ASSERT_EQ(item.subResults.size(), 3u);
        EXPECT_EQ(item.subResults[0].text, ".0700inch");
        EXPECT_EQ(item.subResults[2].text, ".0000inch");
    }
}

TEST(ValuesTest, BrokenLineSumsScaledSegments)
{
    MeasureItem item = MakeItem(KindBrokenLine, {{0, 0}, {3, 4}, {3, 10}});
    ComputeMeasureValue(item, Scale(1, 1, UnitMillimetre), Language::English);
    EXPECT_DOUBLE_EQ(item.value, 11.0);
    ComputeMeasureValue(item, Scale(2, 1, UnitMillimetre), Language::English);
    EXPECT_DOUBLE_EQ(item.value, std::sqrt(36.0 + 16.0) + 6.0);
}

TEST(ValuesTest, PolygonAreaInBothDirections)
{
    MeasureItem cw = MakeItem(KindAreaPolygon, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    MeasureItem ccw = MakeItem(KindAreaPolygon, {{0, 0}, {0, 10}, {10, 10}, {10, 0}});
    for (MeasureItem *item : {&cw, &ccw}) {
        ComputeMeasureValue(*item, Scale(1, 1, UnitMillimetre), Language::English);
        EXPECT_DOUBLE_EQ(item->value, 100.0);
        EXPECT_EQ(item->unit, UnitSquareMillimetre);
        EXPECT_EQ(FormatMeasureValue(item->value, item->unit), "100.00");
        ComputeMeasureValue(*item, Scale(2, 3, UnitMicrometre), Language::English);
        EXPECT_DOUBLE_EQ(item->value, 600.0);
        EXPECT_EQ(item->unit, UnitSquareMicrometre);
    }

    // The closing edge (4, 5) -> (2, 1) is slanted, so it counts.
    MeasureItem triangle = MakeItem(KindAreaPolygon, {{2, 1}, {6, 1}, {4, 5}});
    ComputeMeasureValue(triangle, Scale(1, 1, UnitInch), Language::English);
    EXPECT_DOUBLE_EQ(triangle.value, 8.0);
    EXPECT_EQ(triangle.unit, UnitSquareInch);
    ComputeMeasureValue(triangle, Scale(2, 3, UnitInch), Language::English);
    EXPECT_DOUBLE_EQ(triangle.value, 48.0);

    MeasureItem single = MakeItem(KindAreaPolygon, {{5, 5}});
    single.value = 9.0;
    ComputeMeasureValue(single, Scale(1, 1, UnitMillimetre), Language::English);
    EXPECT_EQ(single.value, 0.0);
}

TEST(ValuesTest, CircleAreaAndTextsWithEqualScales)
{
    MeasureItem item = MakeItem(KindAreaCircle, {{50, 0}, {0, 50}, {-50, 0}});
    item.radius = 50;
    ComputeMeasureValue(item, Scale(0.01, 0.01, UnitMillimetre), Language::English);
    EXPECT_NEAR(item.value, kPi * 0.25, 1e-12);
    EXPECT_EQ(item.unit, UnitSquareMillimetre);
    ASSERT_EQ(item.subResults.size(), 3u);
    EXPECT_EQ(item.subResults[0].text, "D = 1.00mm");
    EXPECT_EQ(item.subResults[1].text, "R = 0.50mm");
    EXPECT_EQ(item.subResults[2].text, "L = 3.14mm");
    EXPECT_EQ(item.subResults[0].kind, KindDiameter);
    EXPECT_EQ(item.subResults[1].kind, KindRadius);
    EXPECT_EQ(item.subResults[2].kind, KindCircumference);
    for (const SubResult &s : item.subResults) {
        EXPECT_EQ(s.row, -1);
        EXPECT_EQ(s.pos, QPoint(50, 0));
    }

    // Japanese texts and replacement in place.
    item.subResults[1].row = 7;
    ComputeMeasureValue(item, Scale(1, 1, UnitMicrometre), Language::Japanese);
    ASSERT_EQ(item.subResults.size(), 3u);
    EXPECT_EQ(item.subResults[0].text, "\u03A6 = 100.00\u03BCm");
    EXPECT_EQ(item.subResults[1].text, "R = 50.00\u03BCm");
    EXPECT_EQ(item.subResults[1].row, 7);
    EXPECT_EQ(item.subResults[2].text, "L = 314.16\u03BCm");
    EXPECT_EQ(item.unit, UnitSquareMicrometre);
}

TEST(ValuesTest, CircleTextsInInch)
{
    MeasureItem item = MakeItem(KindAreaCircle, {{10, 0}, {0, 10}, {-10, 0}});
    ComputeMeasureValue(item, Scale(0.01, 0.01, UnitInch), Language::English);
    EXPECT_EQ(item.unit, UnitSquareInch);
    ASSERT_EQ(item.subResults.size(), 3u);
    EXPECT_EQ(item.subResults[0].text, "D =.2000inch");
    EXPECT_EQ(item.subResults[1].text, "R =.1000inch");
    EXPECT_EQ(item.subResults[2].text, "L =.6283inch");

    // Only the texts whose number is below 1 are shortened.
    item.points = MakeItem(KindAreaCircle, {{40, 0}, {0, 40}, {-40, 0}}).points;
    ComputeMeasureValue(item, Scale(0.01, 0.01, UnitInch), Language::Japanese);
    EXPECT_EQ(item.subResults[0].text, "\u03A6 =.8000inch");
    EXPECT_EQ(item.subResults[1].text, "R =.4000inch");
    EXPECT_EQ(item.subResults[2].text, "L = 2.51inch");
}

TEST(ValuesTest, CircleTextsWithUnequalScales)
{
    MeasureItem item = MakeItem(KindAreaCircle, {{10, 0}, {0, 10}, {-10, 0}});
    ComputeMeasureValue(item, Scale(1, 2, UnitMicrometre), Language::English);
    EXPECT_NEAR(item.value, kPi * 10 * 20, 1e-9);
    ASSERT_EQ(item.subResults.size(), 3u);
    EXPECT_EQ(item.subResults[0].text, "Dh = 20.00um / Dv = 40.00um");
    EXPECT_EQ(item.subResults[1].text, "Rh = 10.00um / Rv = 20.00um");
    EXPECT_NEAR(NumberAfter(item.subResults[2].text, "L = "), IntegratedPerimeter(10, 20), 0.006);

    ComputeMeasureValue(item, Scale(1, 2, UnitMicrometre), Language::Japanese);
    EXPECT_EQ(item.subResults[0].text, "\u03A6h = 20.00\u03BCm / \u03A6v = 40.00\u03BCm");
    EXPECT_EQ(item.subResults[1].text, "Rh = 10.00\u03BCm / Rv = 20.00\u03BCm");

    // Inch: the pair texts always use two decimals; L is shortened below 1.
    ComputeMeasureValue(item, Scale(0.01, 0.02, UnitInch), Language::English);
    EXPECT_EQ(item.subResults[0].text, "Dh = 0.20inch / Dv = 0.40inch");
    EXPECT_EQ(item.subResults[1].text, "Rh = 0.10inch / Rv = 0.20inch");
    EXPECT_NEAR(NumberAfter(item.subResults[2].text, "L ="), IntegratedPerimeter(0.1, 0.2), 0.00006);

    // Flat ellipses: the approximation stays close to the integral.
    for (double ratio : {1.5, 5.0, 20.0}) {
        item.points = MakeItem(KindAreaCircle, {{1000, 0}, {0, 1000}, {-1000, 0}}).points;
        ComputeMeasureValue(item, Scale(1, ratio, UnitMillimetre), Language::English);
        const double expected = IntegratedPerimeter(1000, 1000 * ratio);
        EXPECT_NEAR(NumberAfter(item.subResults[2].text, "L = "), expected, expected * 1e-4)
            << ratio;
    }
}

TEST(ValuesTest, AnglesOfThreePoints)
{
    MeasureItem angle = MakeItem(KindAngle3Points, {{10, 0}, {0, 0}, {0, 10}});
    ComputeMeasureValue(angle, Scale(3, 1, UnitMillimetre), Language::English);
    EXPECT_NEAR(angle.value, 90.0, 1e-12);  // scales do not enter angles
    EXPECT_EQ(angle.unit, UnitDegree);
    EXPECT_EQ(FormatMeasureValue(angle.value, angle.unit), "90.00");

    MeasureItem type2 = MakeItem(KindAngle3PointsType2, {{10, 0}, {0, 0}, {0, 10}});
    ComputeMeasureValue(type2, Scale(1, 1, UnitMillimetre), Language::English);
    EXPECT_NEAR(type2.value, 270.0, 1e-12);
    EXPECT_EQ(type2.unit, UnitDegree);

    // Rays on both sides of the +-180 degree seam: the included angle is small.
    const double expected = 2 * std::atan2(176.0, 1000.0) * 180 / kPi;
    MeasureItem seam = MakeItem(KindAngle3Points, {{-1000, 176}, {0, 0}, {-1000, -176}});
    ComputeMeasureValue(seam, {}, Language::English);
    EXPECT_NEAR(seam.value, expected, 1e-9);
    MeasureItem zero = MakeItem(KindAngle3Points, {{1000, -176}, {0, 0}, {1000, 176}});
    ComputeMeasureValue(zero, {}, Language::English);
    EXPECT_NEAR(zero.value, expected, 1e-9);
}

TEST(ValuesTest, AngleOfTwoLinesUsesTheIntersection)
{
    MeasureItem item = MakeItem(KindAngle2Lines, {{10, 0}, {20, 0}, {0, 10}, {0, 20}});
    item.center = {0, 0};
    ComputeMeasureValue(item, Scale(1, 5, UnitMillimetre), Language::English);
    EXPECT_NEAR(item.value, 90.0, 1e-12);
    EXPECT_EQ(item.unit, UnitDegree);

    // Parallel lines: nothing changes, not even the unit.
    for (QPoint parallel : {QPoint(999, 999), QPoint(999, 3), QPoint(3, 999)}) {
        MeasureItem p = MakeItem(KindAngle2Lines, {{0, 0}, {10, 0}, {0, 5}, {10, 5}});
        p.center = parallel;
        p.value = 12.5;
        p.unit = UnitInch;
        ComputeMeasureValue(p, {}, Language::English);
        EXPECT_EQ(p.value, 12.5);
        EXPECT_EQ(p.unit, UnitInch);
    }
}

// Included angle at v from the dot product, independent of the atan2 route.
double AngleByDot(QPoint a, QPointF v, QPoint b)
{
    const double ax = a.x() - v.x(), ay = a.y() - v.y(), bx = b.x() - v.x(), by = b.y() - v.y();
    return std::acos((ax * bx + ay * by) / (std::hypot(ax, ay) * std::hypot(bx, by))) * 180 / kPi;
}

TEST(ValuesTest, TwoLinesMeetingAtX999OrY999HaveTheirAngle)
{
    const struct {
        std::initializer_list<QPoint> points;
        QPoint vertex;         // drawn
        QPointF exactVertex;  // where the lines meet
    } cases[] = {
        {{{999, 10}, {999, 200}, {500, 500}, {1500, 400}}, {999, 450}, {999, 500 - 0.1 * 499}},
        {{{10, 999}, {300, 999}, {200, 100}, {250, 200}}, {649, 999}, {200 + 899 / 2.0, 999}},
        {{{0, 0}, {999, 999}, {0, 1998}, {1998, 0}}, {999, 999}, {999, 999}},
    };
    for (const auto &c : cases) {
        MeasureItem item = MakeItem(KindAngle2Lines, c.points);
        // Left over from an earlier parallel position of the lines.
        item.center = QPoint(999, 999);
        item.value = 12.5;
        item.unit = UnitInch;
        ComputeMeasureValue(item, {}, Language::English);
        EXPECT_EQ(item.center, c.vertex);
        EXPECT_TRUE(HasMeasureValue(item));
        EXPECT_NEAR(item.value, AngleByDot(item.points[0].pos, c.exactVertex, item.points[2].pos), 1e-9);
        EXPECT_EQ(item.unit, UnitDegree);
    }

    MeasureItem parallel = MakeItem(KindAngle2Lines, {{0, 0}, {10, 0}, {0, 5}, {10, 5}});
    ComputeMeasureValue(parallel, {}, Language::English);
    EXPECT_EQ(parallel.center, QPoint(999, 999));
    EXPECT_TRUE(AngleLinesParallel(parallel));
    EXPECT_FALSE(HasMeasureValue(parallel));
}

TEST(ValuesTest, KindsWithoutValue)
{
    for (MeasureKind kind : {KindText, KindStandardLine, KindStandardParallel}) {
        MeasureItem item = MakeItem(kind, {{1, 2}, {30, 40}});
        ComputeMeasureValue(item, Scale(2, 2, UnitMillimetre), Language::English);
        EXPECT_EQ(item.value, 0.0);
        EXPECT_EQ(item.unit, UnitNone);
        EXPECT_TRUE(item.subResults.empty());
    }
    for (MeasureKind kind : {KindUndefined, KindStandardScale, KindRadius, KindDiameter}) {
        MeasureItem item = MakeItem(kind, {{1, 2}, {30, 40}});
        item.value = 4.0;
        item.unit = 7;
        ComputeMeasureValue(item, Scale(2, 2, UnitMillimetre), Language::English);
        EXPECT_EQ(item.value, 4.0);
        EXPECT_EQ(item.unit, 7);
    }
}

TEST(ValuesTest, TooFewPointsNeverReadOutOfRange)
{
    for (MeasureKind kind : {KindDistance2Points, KindDistanceArc, KindAngle3Points,
                             KindAngle2Lines, KindAngle3PointsType2, KindBrokenLine,
                             KindPerpendicular, KindAreaCircle}) {
        MeasureItem item = MakeItem(kind, {});
        item.value = 1.5;
        ComputeMeasureValue(item, {}, Language::English);
        EXPECT_TRUE(std::isfinite(item.value)) << kind;
    }
}

TEST(ValuesTest, OverflowNeverReachesATextOrValue)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    MeasureItem line = MakeItem(KindDistance2Points, {{0, 0}, {2000000000, 2000000000}});
    ComputeMeasureValue(line, Scale(1e300, 1e300, UnitMillimetre), Language::English);
    EXPECT_TRUE(std::isfinite(line.value));

    MeasureItem circle = MakeItem(KindAreaCircle, {{0, 0}});
    circle.radius = 1000;
    ComputeMeasureValue(circle, Scale(1e300, nan, UnitInch), Language::English);
    EXPECT_TRUE(std::isfinite(circle.value));
    ASSERT_EQ(circle.subResults.size(), 3u);
    for (const SubResult &s : circle.subResults) {
        EXPECT_EQ(s.text.find("nan"), std::string::npos) << s.text;
        EXPECT_EQ(s.text.find("inf"), std::string::npos) << s.text;
        EXPECT_LE(s.text.size(), kMaxTextBytes);
    }
}

TEST(ValuesTest, RecomputeAllInListOrder)
{
    MeasureList list;
    auto a = std::make_unique<MeasureItem>(MakeItem(KindDistance2Points, {{0, 0}, {3, 4}}));
    auto b = std::make_unique<MeasureItem>(MakeItem(KindAngle3Points, {{10, 0}, {0, 0}, {0, 10}}));
    auto c = std::make_unique<MeasureItem>(MakeItem(KindBrokenLine, {{0, 0}, {0, 7}}));
    list.Append(std::move(a));
    list.Append(std::move(b));
    list.Append(std::move(c));

    std::vector<std::pair<const MeasureItem *, double>> seen;
    RecomputeAllMeasures(list, Scale(2, 2, UnitMillimetre), Language::English,
                         [&](MeasureItem &item) { seen.emplace_back(&item, item.value); });
    ASSERT_EQ(seen.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(seen[i].first, &list.at(i));
    // Each item is computed before its rows are refreshed.
    EXPECT_DOUBLE_EQ(seen[0].second, 10.0);
    EXPECT_NEAR(seen[1].second, 90.0, 1e-12);
    EXPECT_DOUBLE_EQ(seen[2].second, 14.0);

    RecomputeAllMeasures(list, Scale(1, 1, UnitMillimetre), Language::English, nullptr);
    EXPECT_DOUBLE_EQ(list.at(0).value, 5.0);
}
