// Values of derived geometry against closed forms worked out here from the
// clicked points: nothing of the drawn, whole-pixel geometry may leak in.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "measure/derive.h"
#include "measure/units.h"
#include "measure/values.h"

using namespace orv;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRel = 1e-9;

struct Pt {
    double x, y;
};

Pt Of(QPoint p)
{
    return {static_cast<double>(p.x()), static_cast<double>(p.y())};
}

double Dist(Pt a, Pt b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Solves a x + b y = e, c x + d y = f by Cramer's rule.
Pt Solve(double a, double b, double c, double d, double e, double f)
{
    const double det = a * d - b * c;
    return {(e * d - b * f) / det, (a * f - e * c) / det};
}

// Where the line a-b meets its normal through p.
Pt FootOn(QPoint a, QPoint b, QPoint p)
{
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    return Solve(-dy, dx, dx, dy, -dy * a.x() + dx * a.y(), dx * p.x() + dy * p.y());
}

// Where the line p1-p2 meets the line p3-p4.
Pt Meet(QPoint p1, QPoint p2, QPoint p3, QPoint p4)
{
    const double n1x = p1.y() - p2.y(), n1y = p2.x() - p1.x();
    const double n2x = p3.y() - p4.y(), n2y = p4.x() - p3.x();
    return Solve(n1x, n1y, n2x, n2y, n1x * p1.x() + n1y * p1.y(), n2x * p3.x() + n2y * p3.y());
}

// Equidistant from p, q and r: two perpendicular bisectors.
Pt Circumcentre(QPoint p, QPoint q, QPoint r)
{
    const auto sq = [](QPoint v) { return double(v.x()) * v.x() + double(v.y()) * v.y(); };
    return Solve(2.0 * (q.x() - p.x()), 2.0 * (q.y() - p.y()), 2.0 * (r.x() - p.x()),
                 2.0 * (r.y() - p.y()), sq(q) - sq(p), sq(r) - sq(p));
}

// Angle a-v-b in radians, 0..pi.
double AngleAt(Pt v, Pt a, Pt b)
{
    const double ax = a.x - v.x, ay = a.y - v.y, bx = b.x - v.x, by = b.y - v.y;
    return std::acos((ax * bx + ay * by) / (std::hypot(ax, ay) * std::hypot(bx, by)));
}

MeasureItem MakeItem(MeasureKind kind, const std::vector<QPoint> &points)
{
    MeasureItem item;
    item.kind = kind;
    for (QPoint p : points)
        AppendPoint(item, p);
    return item;
}

// A large scale leaves the two printed decimals about twelve digits.
double NumberIn(const std::string &text)
{
    return std::strtod(text.c_str(), nullptr);
}

void ExpectRelative(double got, double want)
{
    EXPECT_NEAR(got, want, kRel * std::abs(want));
}

}  // namespace

TEST(ExactValues, PerpendicularAndParallelDistancesFromExactFeet)
{
    struct Case {
        QPoint a, b, p;
        double sx, sy;
    };
    const Case cases[] = {
        {{301, 55}, {511, 75}, {431, 135}, 1e6, 1e6},
        {{0, 0}, {3, 1}, {1, 5}, 1e6, 1e6},
        {{10, 40}, {-17, 3}, {25, -8}, 1e6, 1e6},
        {{0, 0}, {7, 2}, {2, 9}, 3e6, 1e6},
        {{-20, 5}, {40, -13}, {-3, -30}, 1e6, 2.5e6},
    };
    for (MeasureKind kind : {KindPerpendicular, KindParallel}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << kind << ": " << c.p.x() << "," << c.p.y());
            MeasureItem item = MakeItem(kind, {c.a, c.b, c.p});
            ComputeMeasureValue(item, {c.sx, c.sy, UnitMillimetre}, Language::English);
            const Pt f = FootOn(c.a, c.b, c.p);
            const double want = std::hypot((c.p.x() - f.x) * c.sx, (c.p.y() - f.y) * c.sy);
            ASSERT_EQ(item.subResults.size(), 1u);
            ExpectRelative(NumberIn(item.subResults[0].text), want);
            if (c.sx == c.sy) {
                // The distance from the line, without any foot.
                const double cross = double(c.b.x() - c.a.x()) * (c.p.y() - c.a.y())
                                     - double(c.b.y() - c.a.y()) * (c.p.x() - c.a.x());
                ExpectRelative(NumberIn(item.subResults[0].text),
                               std::abs(cross) / Dist(Of(c.a), Of(c.b)) * c.sx);
            }
        }
    }
}

TEST(ExactValues, PerpendicularAtTenPointSevenMicrometresPerHundredPixels)
{
    MeasureItem item = MakeItem(KindPerpendicular, {{301, 55}, {511, 75}, {431, 135}});
    ComputeMeasureValue(item, {1.0, 1.0, UnitMicrometre}, Language::English);
    ASSERT_EQ(item.subResults.size(), 1u);
    EXPECT_EQ(item.subResults[0].text, "67.31um");
    ComputeMeasureValue(item, {0.107, 0.107, UnitMicrometre}, Language::English);
    EXPECT_EQ(item.subResults[0].text, "7.20um");
}

TEST(ExactValues, DerivedFeetOfEveryBaseLineKind)
{
    for (MeasureKind kind : {KindPerpendicular, KindParallel, KindStandardParallel}) {
        SCOPED_TRACE(kind);
        const QPoint a{12, -7}, b{95, 31};
        const std::vector<QPoint> others{{40, 60}, {-13, 2}, {70, 70}};
        MeasureItem item = MakeItem(kind, {a, b, others[0], others[1], others[2]});
        UpdateDerivedGeometry(item);
        ASSERT_EQ(item.exact.feet.size(), 5u);
        for (std::size_t i = 0; i < others.size(); ++i) {
            const Pt f = FootOn(a, b, others[i]);
            ExpectRelative(item.exact.feet[i + 2].x(), f.x);
            ExpectRelative(item.exact.feet[i + 2].y(), f.y);
        }
    }
}

// The arc through S, M, E (M opposite the longest chord) spans 2 pi minus
// twice the angle at M; its radius is |SE| / (2 sin M).
TEST(ExactValues, ArcLengthOnTheExactCircle)
{
    struct Case {
        QPoint s, m, e;  // listed in any order below
        double scale;
    };
    const Case cases[] = {
        {{10, 0}, {7, 7}, {0, 10}, 0.5},
        {{301, 55}, {420, 160}, {511, 75}, 1.0},
        {{3, 1}, {9, 8}, {20, 2}, 2.5},
        {{-40, 7}, {-25, 30}, {11, 35}, 0.107},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.m.x() << "," << c.m.y());
        const double angleM = AngleAt(Of(c.m), Of(c.s), Of(c.e));
        const double r = Dist(Of(c.s), Of(c.e)) / (2 * std::sin(angleM));
        const double want = r * (2 * kPi - 2 * angleM) * c.scale;
        for (const std::vector<QPoint> &order :
             {std::vector<QPoint>{c.s, c.m, c.e}, {c.m, c.e, c.s}, {c.e, c.s, c.m}}) {
            MeasureItem item = MakeItem(KindDistanceArc, order);
            ComputeMeasureValue(item, {c.scale, c.scale, UnitMillimetre}, Language::English);
            ExpectRelative(item.value, want);
        }
    }
}

TEST(ExactValues, DistanceBetweenExactCircleCentres)
{
    struct Case {
        std::vector<QPoint> points;
        double sx, sy;
    };
    const Case cases[] = {
        {{{0, 0}, {7, 1}, {3, 9}, {20, 5}, {31, -2}, {26, 12}}, 1.0, 1.0},
        {{{-5, 3}, {8, 17}, {12, -4}, {100, 100}, {140, 90}, {120, 131}}, 0.35, 0.35},
        {{{0, 0}, {7, 1}, {3, 9}, {20, 5}, {31, -2}, {26, 12}}, 2.0, 0.5},
    };
    for (const Case &c : cases) {
        const auto &p = c.points;
        const Pt c1 = Circumcentre(p[0], p[1], p[2]);
        const Pt c2 = Circumcentre(p[3], p[4], p[5]);
        MeasureItem item = MakeItem(KindDistanceCircles, p);
        ComputeMeasureValue(item, {c.sx, c.sy, UnitMicrometre}, Language::English);
        ExpectRelative(item.value, std::hypot((c1.x - c2.x) * c.sx, (c1.y - c2.y) * c.sy));
    }
}

TEST(ExactValues, CircleAreaAndRadiusOfTheExactCircle)
{
    struct Case {
        QPoint p1, p2, p3;
        double sx, sy;
    };
    const Case cases[] = {
        {{0, 0}, {7, 1}, {3, 9}, 1.0, 1.0},
        {{301, 55}, {420, 160}, {511, 75}, 0.107, 0.107},
        {{-5, 3}, {8, 17}, {12, -4}, 2.0, 3.0},
        {{10, 10}, {21, 10}, {0, 0}, 1.0, 1.0},  // third point not set: p1-p2 is the diameter
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p2.x() << "," << c.p2.y());
        double r = Dist(Of(c.p1), Of(c.p2)) / 2;
        if (c.p3 != QPoint(0, 0)) {
            const double angle3 = AngleAt(Of(c.p3), Of(c.p1), Of(c.p2));
            r = Dist(Of(c.p1), Of(c.p2)) / (2 * std::sin(angle3));
        }
        MeasureItem item = MakeItem(KindAreaCircle, {c.p1, c.p2, c.p3});
        ComputeMeasureValue(item, {c.sx * 1e6, c.sy * 1e6, UnitMillimetre}, Language::English);
        ExpectRelative(item.value, kPi * r * c.sx * 1e6 * r * c.sy * 1e6);
        ASSERT_EQ(item.subResults.size(), 3u);
        // "R = <r>mm" or "Rh = <rh>mm / Rv = <rv>mm".
        const std::string &radius = item.subResults[1].text;
        ExpectRelative(NumberIn(radius.substr(radius.find('=') + 2)), r * c.sx * 1e6);
    }
}

TEST(ExactValues, TwoLineAngleAtTheExactVertex)
{
    struct Case {
        QPoint p1, p2, p3, p4;
    };
    const Case cases[] = {
        {{0, 0}, {10, 3}, {2, 9}, {9, -1}},
        {{301, 55}, {511, 75}, {431, 135}, {400, 20}},
        {{5, 5}, {6, 40}, {-20, 17}, {30, 19}},
        {{3, 3}, {3, 50}, {-7, 1}, {20, 12}},  // a vertical line
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.p4.x() << "," << c.p4.y());
        const Pt v = Meet(c.p1, c.p2, c.p3, c.p4);
        const double want = AngleAt(v, Of(c.p1), Of(c.p3)) * 180 / kPi;
        MeasureItem item = MakeItem(KindAngle2Lines, {c.p1, c.p2, c.p3, c.p4});
        ComputeMeasureValue(item, {1.0, 1.0, UnitMillimetre}, Language::English);
        ExpectRelative(item.value, want);
        EXPECT_EQ(item.unit, UnitDegree);
    }
}
