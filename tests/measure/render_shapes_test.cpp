// Geometry drawn per kind and derived from the points: feet, parallels,
// circles, the rubber band of unfinished items, markers of removed points.
#include <gtest/gtest.h>

#include <QPainter>

#include <cmath>
#include <limits>

#include "measure/render/draw_measures.h"
#include "measure/render/draw_shapes.h"
#include "tests/support/render_test_support.h"
#include "view_drawing.h"
#include "measure/values.h"

namespace orv {
namespace {

using namespace test;

MeasureItem Shape(MeasureKind kind, std::initializer_list<QPoint> points)
{
    MeasureItem item;
    item.kind = kind;
    item.lineWidth = 1;
    item.lineColor = 0x000000FF;
    item.fontSize = 16;
    item.fontColor = 0x00FFFF00;
    item.backMode = 1;
    for (QPoint q : points)
        AppendPoint(item, q);
    return item;
}

QImage DrawShape(MeasureItem &item, bool selected = false, std::optional<QPoint> *anchor = nullptr)
{
    QImage img = BlankImage(400, 400);
    QPainter p(&img);
    p.setPen(QPen(kRed));
    const std::optional<QPoint> a = DrawShapeAsView(p, item, selected);
    if (anchor)
        *anchor = a;
    return img;
}

int RedIn(const QImage &img, QRect r)
{
    return CountWhere(img, Exactly(kRed), r);
}

TEST(RenderShapes, PerpendicularFeetAreWrittenAndTheirDistancesFollow)
{
    MeasureItem item = Shape(KindPerpendicular, {{100, 100}, {200, 100}, {50, 40}, {150, 160}});
    const QImage img = DrawShape(item);
    EXPECT_EQ(item.points[2].foot, QPoint(50, 100));
    EXPECT_EQ(item.points[3].foot, QPoint(150, 100));
    // Solid perpendicular, dotted extension of the base out to the foot.
    EXPECT_EQ(RedIn(img, QRect(50, 41, 1, 58)), 58);
    const int dotted = RedIn(img, QRect(51, 100, 48, 1));
    EXPECT_GT(dotted, 15);
    EXPECT_LT(dotted, 35);

    MeasureItem slanted = Shape(KindPerpendicular, {{0, 0}, {100, 100}, {0, 100}});
    DrawShape(slanted);
    EXPECT_EQ(slanted.points[2].foot, QPoint(50, 50));
    ComputeMeasureValue(slanted, ScaleFactors{1, 1, 2}, Language::English);
    ASSERT_EQ(slanted.subResults.size(), 1u);
    EXPECT_EQ(slanted.subResults[0].text, "70.71um");
    ComputeMeasureValue(item, ScaleFactors{0.1, 0.1, 1}, Language::English);
    ASSERT_EQ(item.subResults.size(), 2u);
    EXPECT_EQ(item.subResults[0].text, "6.00mm");
    EXPECT_EQ(item.subResults[1].text, "6.00mm");
}

TEST(RenderShapes, ParallelLinesAreCutAtTheImagePlaneBorders)
{
    MeasureItem horizontal = Shape(KindParallel, {{10, 100}, {200, 100}, {50, 40}});
    QImage img = DrawShape(horizontal);
    EXPECT_EQ(horizontal.points[2].foot, QPoint(50, 100));
    EXPECT_EQ(horizontal.points[2].lineStart, QPoint(0, 40));
    EXPECT_EQ(horizontal.points[2].lineEnd, QPoint(2000, 40));
    EXPECT_EQ(RedIn(img, QRect(0, 40, 400, 1)), 400);
    // The connection from the point to its foot is auxiliary: dotted.
    const int dotted = RedIn(img, QRect(50, 41, 1, 58));
    EXPECT_GT(dotted, 15);
    EXPECT_LT(dotted, 45);

    MeasureItem vertical = Shape(KindParallel, {{100, 10}, {100, 200}, {40, 50}});
    DrawShape(vertical);
    EXPECT_EQ(vertical.points[2].lineStart, QPoint(40, 0));
    EXPECT_EQ(vertical.points[2].lineEnd, QPoint(40, 2000));

    // Falling base y = 100 - x through (50, 100): crosses x = 0 at 150.
    MeasureItem falling = Shape(KindParallel, {{0, 100}, {100, 0}, {50, 100}});
    img = DrawShape(falling);
    EXPECT_EQ(falling.points[2].lineStart, QPoint(0, 150));
    EXPECT_EQ(falling.points[2].lineEnd, QPoint(150, 0));
    EXPECT_EQ(img.pixelColor(75, 75), kRed);
    ComputeMeasureValue(falling, ScaleFactors{1, 1, 1}, Language::English);
    ASSERT_EQ(falling.subResults.size(), 1u);
    EXPECT_EQ(falling.subResults[0].text, "35.36mm");  // 50 / sqrt(2)
}

TEST(RenderShapes, StandardParallelsDrawEveryPointAndHaveNoLabel)
{
    MeasureItem item = Shape(KindStandardParallel, {{10, 300}, {300, 300}, {100, 100}, {200, 200}});
    std::optional<QPoint> anchor;
    const QImage img = DrawShape(item, false, &anchor);
    EXPECT_FALSE(anchor.has_value());
    EXPECT_EQ(RedIn(img, QRect(0, 100, 400, 1)), 400);
    EXPECT_EQ(RedIn(img, QRect(0, 200, 400, 1)), 400);
    MeasureItem line = Shape(KindStandardLine, {{10, 30}, {300, 30}});
    DrawShape(line, false, &anchor);
    EXPECT_FALSE(anchor.has_value());
}

TEST(RenderShapes, CirclesWriteTheirCentresAndRadii)
{
    MeasureItem circle = Shape(KindAreaCircle, {{100, 200}, {200, 100}, {300, 200}});
    std::optional<QPoint> anchor;
    QImage img = DrawShape(circle, false, &anchor);
    EXPECT_EQ(circle.center, QPoint(200, 200));
    EXPECT_EQ(circle.radius, 100);
    EXPECT_EQ(anchor, QPoint(180, 180));
    EXPECT_GT(RedIn(img, QRect(198, 298, 5, 5)), 0);  // bottom of the circle
    EXPECT_EQ(RedIn(img, QRect(150, 150, 100, 100)), 0);  // not filled

    MeasureItem two = Shape(KindDistanceCircles,
                            {{50, 100}, {100, 50}, {150, 100}, {250, 100}, {300, 50}, {350, 100}});
    img = DrawShape(two);
    EXPECT_EQ(two.center, QPoint(100, 100));
    EXPECT_EQ(two.center2, QPoint(300, 100));
    EXPECT_EQ(two.radius2, 50);
    EXPECT_EQ(RedIn(img, QRect(160, 100, 80, 1)), 80);  // centre to centre
    ComputeMeasureValue(two, ScaleFactors{0.5, 0.5, 1}, Language::English);
    EXPECT_DOUBLE_EQ(two.value, 100.0);

    MeasureItem collinear = Shape(KindAreaCircle, {{10, 10}, {20, 20}, {30, 30}});
    collinear.center = QPoint(60, 60);
    collinear.radius = 9;
    DrawShape(collinear);
    EXPECT_EQ(collinear.center, QPoint(60, 60));
    EXPECT_EQ(collinear.radius, 9);
}

TEST(RenderShapes, UnfinishedItemsShowTheirRubberBand)
{
    MeasureItem one = Shape(KindDistance2Points, {{100, 100}});
    EXPECT_EQ(RedIn(DrawShape(one), QRect(0, 0, 400, 400)), 0);

    MeasureItem circle = Shape(KindAreaCircle, {{100, 100}, {200, 100}});
    EXPECT_EQ(RedIn(DrawShape(circle), QRect(101, 100, 98, 1)), 98);

    MeasureItem five = Shape(KindDistanceCircles, {{50, 100}, {100, 50}, {150, 100}, {250, 300}, {350, 300}});
    const QImage img = DrawShape(five);
    EXPECT_EQ(RedIn(img, QRect(251, 300, 98, 1)), 98);

    MeasureItem angle = Shape(KindAngle2Lines, {{10, 10}, {100, 10}, {10, 50}});
    EXPECT_EQ(RedIn(DrawShape(angle), QRect(0, 30, 400, 370)), 0);
}

TEST(RenderShapes, PolygonIsClosedAndBrokenLineIsNot)
{
    MeasureItem polygon = Shape(KindAreaPolygon, {{100, 100}, {300, 100}, {300, 300}});
    MeasureItem broken = Shape(KindBrokenLine, {{100, 100}, {300, 100}, {300, 300}});
    EXPECT_EQ(DrawShape(polygon).pixelColor(200, 200), kRed);
    EXPECT_NE(DrawShape(broken).pixelColor(200, 200), kRed);
}

TEST(RenderShapes, SelectedItemsMarkEveryPointButThoseOfRemovedResults)
{
    MeasureItem circle = Shape(KindAreaCircle, {{100, 200}, {200, 100}, {300, 200}});
    AppendSubResult(circle, "D", KindDiameter, -1, {100, 200});
    AppendSubResult(circle, "R", KindRadius, 4, {100, 200});
    const QImage img = DrawShape(circle, true);
    EXPECT_NE(img.pixelColor(92, 200), kRed);  // the first sub-result decides
    EXPECT_EQ(img.pixelColor(200, 92), kRed);
    EXPECT_EQ(img.pixelColor(292, 200), kRed);
    const QImage plain = DrawShape(circle, false);
    EXPECT_NE(plain.pixelColor(200, 92), kRed);
}

TEST(RenderShapes, WideLinesWidenTheLabelMargin)
{
    MeasureItem item = Shape(KindDistance2Points, {{10, 10}, {50, 10}});
    item.lineWidth = 4;
    EXPECT_EQ(LabelMargin(item), 6);
    MeasureList list;
    auto owned = std::make_unique<MeasureItem>(item);
    MeasureItem *ptr = owned.get();
    list.Append(std::move(owned));
    MeasureDrawOptions opts;
    opts.labelMode = LabelMode::ItemNumberOnly;
    opts.selectedItem = ptr;
    opts.selectionShown = true;
    QImage img = BlankImage(200, 100);
    DrawAllAsView(img, list, nullptr, opts);
    EXPECT_EQ(ptr->labelBox.left, 10);
    EXPECT_EQ(ptr->labelBox.bottom, 10 + 16 + 12);
}

}  // namespace
}  // namespace orv

namespace orv {
namespace {

TEST(RenderShapes, HostileSizesAndPositionsDrawWithoutOverflow)
{
    MeasureList list;
    const int big = std::numeric_limits<int>::max();
    const int small = std::numeric_limits<int>::min();
    for (MeasureKind kind : {KindDistance2Points, KindAreaCircle, KindAngle2Lines, KindPerpendicular, KindText}) {
        auto item = std::make_unique<MeasureItem>(Shape(kind, {{10, 10}, {20, 10}, {15, 30}, {40, 50}}));
        item->fontSize = big;
        item->lineWidth = big;
        item->center = QPoint(small, big);
        item->radius = big;
        item->labelBox = {big - 5, big - 5, big, big};
        item->value = 1.5;
        item->text = std::string(300, 'W');
        AppendSubResult(*item, "x", KindDiameter, 0, {15, 30});
        list.Append(std::move(item));
    }
    list.at(1).labelBox.bottom = -1;
    list.at(3).labelBox.bottom = 0;
    MeasureDrawOptions opts;
    opts.labelMode = LabelMode::Details;
    opts.selectionShown = true;
    QImage img = BlankImage(100, 100);
    for (const auto &item : list) {
        opts.selectedItem = item.get();
        DrawAllAsView(img, list, nullptr, opts);
    }
    EXPECT_EQ(list.at(0).labelBox.top, big - 5);
    EXPECT_EQ(LabelMargin(list.at(0)), big);
}

}  // namespace
}  // namespace orv
