// Arcs come out on the side they mark, in every quadrant, and write back the
// geometry that the arc length is computed from.
#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <numbers>

#include "measure/render/draw_geometry.h"
#include "measure/render/draw_measures.h"
#include "measure/render/gdi_paint.h"
#include "tests/support/render_test_support.h"
#include "view_drawing.h"
#include "measure/values.h"

namespace orv {
namespace {

using namespace test;

constexpr ColorRef kRedRef = 0x000000FF;
constexpr double kPi = std::numbers::pi;

// Is any pixel within 2 of the point at `radius` from c in the direction of
// the image angle (degrees, y down)?
bool LitAt(const QImage &img, QPoint c, double imageAngleDeg, double radius)
{
    const double a = imageAngleDeg * kPi / 180.0;
    const QPoint q(static_cast<int>(std::lround(c.x() + radius * std::cos(a))),
                   static_cast<int>(std::lround(c.y() + radius * std::sin(a))));
    return CountWhere(img, Exactly(kRed), QRect(q.x() - 2, q.y() - 2, 5, 5)) > 0;
}

QPoint Ray(QPoint v, double imageAngleDeg, double length)
{
    const double a = imageAngleDeg * kPi / 180.0;
    return QPoint(static_cast<int>(std::lround(v.x() + length * std::cos(a))),
                  static_cast<int>(std::lround(v.y() + length * std::sin(a))));
}

QImage AngleMark(QPoint a, QPoint v, QPoint b, bool reflex)
{
    QImage img = BlankImage(200, 200);
    QPainter p(&img);
    p.setPen(SolidPen(1, kRedRef));
    DrawAngleArc(p, a, v, b, reflex);
    return img;
}

TEST(RenderAngleArc, IncludedAngleAndItsComplementInEveryQuadrant)
{
    const QPoint v(100, 100);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const double from = quadrant * 90 + 15;
        const double to = quadrant * 90 + 75;
        const double inside = quadrant * 90 + 45;
        for (bool swapped : {false, true}) {
            const QPoint a = Ray(v, swapped ? to : from, 90);
            const QPoint b = Ray(v, swapped ? from : to, 90);
            const QImage included = AngleMark(a, v, b, false);
            EXPECT_TRUE(LitAt(included, v, inside, 50)) << quadrant << swapped;
            EXPECT_FALSE(LitAt(included, v, inside + 180, 50)) << quadrant << swapped;
            const QImage reflex = AngleMark(a, v, b, true);
            EXPECT_FALSE(LitAt(reflex, v, inside, 50)) << quadrant << swapped;
            EXPECT_TRUE(LitAt(reflex, v, inside + 180, 50)) << quadrant << swapped;
        }
    }
}

TEST(RenderAngleArc, AngleAcrossTheAtan2SeamStaysSmall)
{
    // Rays at 170 and -170 degrees: the included angle of 20 degrees faces left.
    const QPoint v(100, 100);
    const QImage img = AngleMark(Ray(v, 170, 90), v, Ray(v, -170, 90), false);
    EXPECT_TRUE(LitAt(img, v, 180, 50));
    EXPECT_FALSE(LitAt(img, v, 0, 50));
    EXPECT_FALSE(LitAt(img, v, 90, 50));
}

TEST(RenderAngleArc, MarkPointsLieFiftyPixelsOutOnTheRays)
{
    EXPECT_EQ(AngleArcPoint(QPoint(10, 10), QPoint(110, 10)), QPoint(60, 10));
    EXPECT_EQ(AngleArcPoint(QPoint(10, 10), QPoint(10, 5)), QPoint(10, -40));
    EXPECT_EQ(AngleArcPoint(QPoint(10, 10), QPoint(10, 15)), QPoint(10, 60));
    // (3, 4) direction: 30 and 40 out; a leftward ray keeps its signs.
    EXPECT_EQ(AngleArcPoint(QPoint(0, 0), QPoint(-30, 40)), QPoint(-30, 40));
}

// Three clicked points on the circle of radius 50 around (100, 100): A at 0,
// B at 36.87 and C at 73.74 degrees (image angles), rotated by quarter turns.
struct ArcCase {
    QPoint a, b, c;
};

QPoint Rotate(QPoint d, int quarter)
{
    for (int i = 0; i < quarter; ++i)
        d = QPoint(-d.y(), d.x());
    return d;
}

ArcCase ArcAt(int quarter)
{
    const QPoint c(100, 100);
    return {c + Rotate({50, 0}, quarter), c + Rotate({40, 30}, quarter), c + Rotate({14, 48}, quarter)};
}

MeasureItem ArcItem(QPoint p1, QPoint p2, QPoint p3)
{
    MeasureItem item;
    item.kind = KindDistanceArc;
    item.lineWidth = 1;
    item.lineColor = kRedRef;
    item.fontSize = 16;
    AppendPoint(item, p1);
    AppendPoint(item, p2);
    AppendPoint(item, p3);
    return item;
}

double Normalised(double a)
{
    while (a < 0)
        a += 2 * kPi;
    while (a >= 2 * kPi)
        a -= 2 * kPi;
    return a;
}

double ImageAngle(QPointF c, QPoint q)
{
    return std::atan2(q.y() - c.y(), q.x() - c.x());
}

TEST(RenderArcThrough3, ShortArcThroughTheMiddlePointInEveryQuadrantAndClickOrder)
{
    const QPoint centre(100, 100);
    for (int quarter = 0; quarter < 4; ++quarter) {
        const ArcCase k = ArcAt(quarter);
        const MeasureItem orders[] = {ArcItem(k.a, k.b, k.c), ArcItem(k.a, k.c, k.b), ArcItem(k.b, k.c, k.a),
                                      ArcItem(k.c, k.b, k.a)};
        for (const MeasureItem &start : orders) {
            MeasureItem item = start;
            QImage img = BlankImage(200, 200);
            {
                QPainter p(&img);
                p.setPen(SolidPen(1, kRedRef));
                DrawArcAsView(p, item);
            }
            const double base = quarter * 90;
            // The centre is truncated from the bisectors' intersection.
            EXPECT_LE((item.center - centre).manhattanLength(), 2) << quarter;
            EXPECT_NEAR(item.radius, 50, 1) << quarter;
            // Ends are the two points of the longest chord, the middle one is B.
            const MeasurePoint &first = item.points[0];
            EXPECT_EQ(first.lineStart, k.b) << quarter;
            EXPECT_TRUE((first.foot == k.a && first.lineEnd == k.c) || (first.foot == k.c && first.lineEnd == k.a))
                << quarter;
            // Drawn through B's side only.
            EXPECT_TRUE(LitAt(img, centre, base + 20, 50)) << quarter;
            EXPECT_TRUE(LitAt(img, centre, base + 55, 50)) << quarter;
            EXPECT_FALSE(LitAt(img, centre, base + 37 + 180, 50)) << quarter;
            EXPECT_FALSE(LitAt(img, centre, base + 120, 50)) << quarter;
            EXPECT_FALSE(LitAt(img, centre, base - 60, 50)) << quarter;
            // Counter-clockwise on screen from arcStart to arcStop: from C to A,
            // about the unrounded centre.
            EXPECT_NEAR(Normalised(item.arcStart), Normalised(ImageAngle(item.exact.center, k.c)), 1e-9)
                << quarter;
            EXPECT_NEAR(Normalised(item.arcStop), Normalised(ImageAngle(item.exact.center, k.a)), 1e-9)
                << quarter;
        }
    }
}

TEST(RenderArcThrough3, ArcLengthFromTheDrawnGeometry)
{
    // Half circle of radius 50 around (100, 100), clicked middle point first.
    MeasureItem item = ArcItem({100, 50}, {150, 100}, {50, 100});
    item.number = 1;
    QImage img = BlankImage(200, 200);
    {
        QPainter p(&img);
        DrawListedAsView(p, item, MeasureDrawOptions{});
    }
    EXPECT_EQ(item.center, QPoint(100, 100));
    EXPECT_EQ(item.radius, 50);
    EXPECT_EQ(item.points[0].lineStart, QPoint(100, 50));
    ComputeMeasureValue(item, ScaleFactors{0.5, 0.5, 1}, Language::English);
    EXPECT_NEAR(item.value, kPi * 50 * 0.5, 1e-9);
    EXPECT_EQ(item.unit, 1);
    // The upper half is drawn, the lower is not.
    EXPECT_TRUE(LitAt(img, item.center, -90, 50));
    EXPECT_FALSE(LitAt(img, item.center, 90, 50));
}

TEST(RenderArcThrough3, CollinearPointsKeepThePreviousCircle)
{
    MeasureItem item = ArcItem({10, 10}, {20, 20}, {30, 30});
    item.center = QPoint(50, 60);
    item.radius = 7;
    QImage img = BlankImage(100, 100);
    QPainter p(&img);
    p.setPen(SolidPen(1, kRedRef));
    DrawArcAsView(p, item);
    EXPECT_EQ(item.center, QPoint(50, 60));
    EXPECT_EQ(item.radius, 7);
    EXPECT_EQ(item.points[0].foot, QPoint(10, 10));
    EXPECT_EQ(item.points[0].lineEnd, QPoint(30, 30));
}

MeasureItem AngleItem(MeasureKind kind, QPoint p1, QPoint p2, QPoint p3)
{
    MeasureItem item = ArcItem(p1, p2, p3);
    item.kind = kind;
    return item;
}

TEST(RenderAngleItems, KindTenMarksTheIncludedAngleAndNineteenTheReflexInEveryQuadrant)
{
    const QPoint v(100, 100);
    MeasureDrawOptions opts;
    opts.labelMode = static_cast<LabelMode>(-1);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const double inside = quadrant * 90 + 45;
        const QPoint a = Ray(v, inside - 30, 90);
        const QPoint b = Ray(v, inside + 30, 90);
        for (MeasureKind kind : {KindAngle3Points, KindAngle3PointsType2}) {
            MeasureItem item = AngleItem(kind, a, v, b);
            QImage img = BlankImage(200, 200);
            {
                QPainter p(&img);
                DrawListedAsView(p, item, opts);
            }
            const bool reflex = kind == KindAngle3PointsType2;
            EXPECT_EQ(LitAt(img, v, inside, 50), !reflex) << quadrant << kind;
            EXPECT_EQ(LitAt(img, v, inside + 180, 50), reflex) << quadrant << kind;
            ComputeMeasureValue(item, ScaleFactors{}, Language::English);
            EXPECT_NEAR(item.value, reflex ? 300.0 : 60.0, 0.5) << quadrant << kind;
        }
    }
}

TEST(RenderAngleItems, TwoLinesMeetWithDottedRaysAndTheirIntersectionIsWrittenBack)
{
    MeasureItem item;
    item.kind = KindAngle2Lines;
    item.lineWidth = 1;
    item.lineColor = kRedRef;
    item.fontSize = 16;
    // y = x / 2 + 10 and y = -x / 2 + 110 meet at (100, 60).
    for (QPoint q : {QPoint(0, 10), QPoint(40, 30), QPoint(0, 110), QPoint(40, 90)})
        AppendPoint(item, q);
    MeasureDrawOptions opts;
    opts.labelMode = static_cast<LabelMode>(-1);
    QImage img = BlankImage(200, 200);
    {
        QPainter p(&img);
        DrawListedAsView(p, item, opts);
    }
    EXPECT_EQ(item.center, QPoint(100, 60));
    // The auxiliary ray from the second point of line 1 to the intersection is dotted.
    const int lit = CountWhere(img, Exactly(kRed), QRect(46, 25, 30, 20));
    EXPECT_GT(lit, 5);
    EXPECT_LT(lit, 25);
    // The mark faces the first points (left of the vertex).
    EXPECT_TRUE(LitAt(img, item.center, 180, 50));
    EXPECT_FALSE(LitAt(img, item.center, 0, 50));
    ComputeMeasureValue(item, ScaleFactors{}, Language::English);
    EXPECT_NEAR(item.value, 2 * std::atan(0.5) * 180 / kPi, 1e-9);
    EXPECT_EQ(item.unit, 8);
}

}  // namespace
TEST(RenderAngleItems, LinesMeetingAtX999AreNotTakenForParallel)
{
    MeasureItem item;
    item.kind = KindAngle2Lines;
    item.lineWidth = 1;
    item.lineColor = kRedRef;
    item.fontSize = 16;
    item.number = 4;
    // A vertical line at x = 999 and one of slope -0.1 meet at (999, 450.1),
    // drawn at (999, 450); the rays go up and out to the lower left, 90 degrees
    // plus atan(0.1) apart.
    for (QPoint q : {QPoint(999, 10), QPoint(999, 200), QPoint(500, 500), QPoint(1500, 400)})
        AppendPoint(item, q);
    ComputeMeasureValue(item, ScaleFactors{}, Language::English);
    MeasureDrawOptions opts;
    opts.labelMode = static_cast<LabelMode>(-1);
    QImage img = BlankImage(1100, 600);
    {
        QPainter p(&img);
        DrawListedMeasure(p, item, opts);
    }
    const QPoint v(999, 450);
    EXPECT_TRUE(LitAt(img, v, 222, 50));
    EXPECT_FALSE(LitAt(img, v, 42, 50));
    EXPECT_EQ(MeasureLabelText(item, LabelMode::Summary, Language::English), QStringLiteral("No.4  95.71degrees"));

    // Made parallel: no mark and only the number, whatever value is left.
    item.points[3].pos = QPoint(500, 600);
    item.points[2].pos = QPoint(500, 400);
    ComputeMeasureValue(item, ScaleFactors{}, Language::English);
    QImage parallel = BlankImage(1100, 600);
    {
        QPainter p(&parallel);
        DrawListedMeasure(p, item, opts);
    }
    EXPECT_EQ(CountWhere(parallel, Exactly(kRed), QRect(940, 390, 120, 120)), 0);
    EXPECT_EQ(MeasureLabelText(item, LabelMode::Summary, Language::English), QStringLiteral("No.4"));
}

}  // namespace orv
