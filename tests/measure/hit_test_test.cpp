#include "measure/hit_test.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "measure/render/draw_geometry.h"
#include "measure/render/draw_measures.h"
#include "view_drawing.h"

using namespace orv;

namespace {

MeasureItem Item(MeasureKind kind, std::initializer_list<QPoint> pts)
{
    MeasureItem item;
    item.kind = kind;
    item.lineWidth = 1;
    item.fontSize = 16;
    for (QPoint p : pts)
        AppendPoint(item, p);
    return item;
}

// A perpendicular item on the base (0, 100)-(200, 100) with measured points
// at (50, 40) and (150, 30), both listed, feet filled as drawing does.
MeasureItem Perpendicular()
{
    MeasureItem item = Item(KindPerpendicular, {{0, 100}, {200, 100}, {50, 40}, {150, 30}});
    item.points[2].foot = QPoint(50, 100);
    item.points[3].foot = QPoint(150, 100);
    AppendSubResult(item, "0.60mm", KindPerpendicularPart, 1, QPoint(50, 40));
    AppendSubResult(item, "0.70mm", KindPerpendicularPart, 2, QPoint(150, 30));
    return item;
}

void ExpectCode(const MeasureItem &item, QPoint q, int code, const char *what)
{
    const MeasureHit hit = HitTestMeasure(item, q);
    ASSERT_TRUE(hit) << what;
    EXPECT_EQ(hit.code, code) << what;
}

void ExpectMiss(const MeasureItem &item, QPoint q, const char *what)
{
    EXPECT_FALSE(HitTestMeasure(item, q)) << what;
}

}  // namespace

TEST(HitTestMeasure, PointsComeFirstWithinFivePixels)
{
    MeasureItem item = Item(KindDistance2Points, {{10, 10}, {13, 10}});
    // Both points are in reach: the first one in placing order wins.
    ExpectCode(item, {11, 10}, 0, "nearer the second, first wins");
    ExpectCode(item, {17, 10}, 1, "4 pixels from the second");
    // 5 pixels away is not on the point any more, but still on the stroke.
    ExpectCode(item, {18, 10}, HitStroke, "5 pixels away");
    // A point beats its own label box.
    item.labelBox = {0, 0, 40, 40};
    ExpectCode(item, {10, 12}, 0, "point inside the label box");
}

TEST(HitTestMeasure, RemovedSubResultLeavesItsPointAndLinesUngrabbable)
{
    MeasureItem item = Perpendicular();
    ExpectCode(item, {150, 31}, 3, "listed point");
    ExpectCode(item, {150, 70}, HitStroke, "its perpendicular");
    item.subResults[1].row = -1;
    ExpectMiss(item, {150, 31}, "point of the removed row");
    ExpectMiss(item, {150, 70}, "perpendicular of the removed row");
    // The base-line points never depend on sub-results.
    ExpectCode(item, {1, 100}, 0, "base point");
    // Kind 14 has no sub-results: every point counts, every parallel line too.
    MeasureItem parallels = Item(KindStandardParallel, {{0, 100}, {200, 100}, {50, 40}});
    parallels.points[2].foot = QPoint(50, 100);
    parallels.points[2].lineStart = QPoint(0, 40);
    parallels.points[2].lineEnd = QPoint(2000, 40);
    ExpectCode(parallels, {52, 41}, 2, "kind 14 third point");
    ExpectCode(parallels, {300, 45}, HitStroke, "kind 14 parallel line");
}

TEST(HitTestMeasure, LabelBoxesBoundsIncludedAndOnlyWhenPlaced)
{
    MeasureItem item = Item(KindDistance2Points, {{0, 0}, {20, 0}});
    item.labelBox = {100, 100, 150, 120};
    ExpectCode(item, {100, 100}, HitLabel, "top left corner");
    ExpectCode(item, {150, 120}, HitLabel, "bottom right corner");
    ExpectMiss(item, {151, 120}, "right of the box");
    item.labelBox.bottom = 0;
    ExpectMiss(item, {120, 0}, "an unplaced box is never hit");

    // Text and reference lines have no label box to grab.
    MeasureItem line = Item(KindStandardLine, {{0, 0}, {20, 0}});
    line.labelBox = {100, 100, 150, 120};
    ExpectMiss(line, {120, 110}, "kind 13 label box");

    // Kinds 5 and 7 grab the listed sub-result labels, not the item's box.
    MeasureItem perp = Perpendicular();
    perp.labelBox = {300, 300, 350, 320};
    perp.subResults[0].labelBox = {60, 40, 110, 60};
    perp.subResults[1].labelBox = {160, 30, 210, 50};
    const MeasureHit hit = HitTestMeasure(perp, {170, 40});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit.code, HitSubResultLabel);
    EXPECT_EQ(hit.subResult, 1);
    ExpectMiss(perp, {320, 310}, "the item box of kind 5");
    perp.subResults[1].row = -1;
    ExpectMiss(perp, {170, 40}, "label of a removed row");
}

TEST(HitTestMeasure, StrokesPerKind)
{
    // Segments: closer than 10 pixels.
    MeasureItem d = Item(KindDistance2Points, {{0, 50}, {100, 50}});
    ExpectCode(d, {50, 59}, HitStroke, "9 below the segment");
    ExpectMiss(d, {50, 60}, "10 below the segment");

    // Broken line has no closing segment, polygon has.
    const std::initializer_list<QPoint> tri = {{0, 0}, {100, 0}, {100, 100}};
    ExpectMiss(Item(KindBrokenLine, tri), {50, 52}, "broken line closing segment");
    ExpectCode(Item(KindAreaPolygon, tri), {50, 52}, HitStroke, "polygon closing segment");

    // Angle between two lines: p1-p2 and p3-p4, not p2-p3.
    MeasureItem a2 = Item(KindAngle2Lines, {{0, 0}, {100, 0}, {0, 100}, {100, 100}});
    ExpectCode(a2, {50, 98}, HitStroke, "second line");
    ExpectMiss(a2, {100, 50}, "between the lines");
    // Three-point angle: both legs from the vertex.
    MeasureItem a3 = Item(KindAngle3Points, {{0, 0}, {100, 0}, {100, 100}});
    ExpectCode(a3, {98, 50}, HitStroke, "second leg");

    // Circles: within 9 of the radius; kind 4 either circle.
    MeasureItem c = Item(KindAreaCircle, {{0, 0}, {1, 1}, {2, 2}});
    c.center = QPoint(100, 100);
    c.radius = 50;
    ExpectCode(c, {159, 100}, HitStroke, "9 outside the circle");
    ExpectMiss(c, {160, 100}, "10 outside the circle");
    ExpectMiss(c, {100, 100}, "the centre");
    MeasureItem cc = c;
    cc.kind = KindDistanceCircles;
    cc.center2 = QPoint(300, 100);
    cc.radius2 = 20;
    ExpectCode(cc, {300, 121}, HitStroke, "second circle");

    // Parallel: the line through the measured point.
    MeasureItem par = Item(KindParallel, {{0, 100}, {200, 100}, {50, 40}});
    par.points[2].foot = QPoint(50, 100);
    par.points[2].lineStart = QPoint(0, 40);
    par.points[2].lineEnd = QPoint(2000, 40);
    AppendSubResult(par, "x", KindParallelPart, 1, QPoint(50, 40));
    ExpectCode(par, {400, 44}, HitStroke, "parallel line");
    ExpectCode(par, {10, 94}, HitStroke, "p1 to foot");
}

TEST(HitTestMeasure, TextBoxCountsWideCharactersTwice)
{
    MeasureItem t = Item(KindText, {{100, 100}});
    t.text = "abcd";  // 4 cells of 8 pixels at size 16
    ExpectCode(t, {132, 116}, HitStroke, "bottom right corner");
    ExpectMiss(t, {133, 110}, "right of the text");
    ExpectMiss(t, {110, 117}, "below the text");
    t.text = "計測";  // two full-width characters: 4 cells as well
    EXPECT_EQ(TextCellCount(t.text), 4);
    ExpectCode(t, {132, 110}, HitStroke, "wide text right edge");
    EXPECT_EQ(TextCellCount("ｶﾅ1"), 3);
}

TEST(HitTestMeasure, ArcOnlyOnTheDrawnSide)
{
    // Quarter arc through (140, 130) from (150, 100) to (114, 148) about (100, 100).
    MeasureItem arc = Item(KindDistanceArc, {{150, 100}, {140, 130}, {114, 148}});
    QImage img(200, 200, QImage::Format_RGB32);
    {
        QPainter p(&img);
        test::DrawArcAsView(p, arc);
    }
    ExpectCode(arc, {135, 136}, HitStroke, "on the arc");
    ExpectMiss(arc, {65, 64}, "opposite the arc on the same circle");
    ExpectMiss(arc, {60, 130}, "beyond the arc's end");
    // An arc of 200 degrees round the left: the interval it leaves out wraps past angle 0.
    MeasureItem wide = Item(KindDistanceArc, {{109, 149}, {50, 100}, {109, 51}});
    {
        QPainter p(&img);
        test::DrawArcAsView(p, wide);
    }
    ExpectCode(wide, {65, 135}, HitStroke, "on the wide arc");
    ExpectMiss(wide, {143, 125}, "in the gap below angle 0");
    ExpectMiss(wide, {143, 75}, "in the gap above angle 0");
}
