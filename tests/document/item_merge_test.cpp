// What the end of a drag writes back into the dragged measurement.
#include <gtest/gtest.h>

#include <climits>

#include "document/item_merge.h"
#include "measure/hit_test.h"

namespace orv {
namespace {

MeasureItem Perpendicular()
{
    MeasureItem item;
    item.kind = KindPerpendicular;
    for (QPoint p : {QPoint(0, 100), QPoint(200, 100), QPoint(50, 40), QPoint(150, 30)})
        AppendPoint(item, p);
    AppendSubResult(item, "a", KindPerpendicularPart, 1, {50, 40}).labelBox = {50, 40, 120, 62};
    AppendSubResult(item, "b", KindPerpendicularPart, 2, {150, 30});  // not placed yet
    item.labelBox = {0, 0, 0, 1};
    return item;
}

TEST(MergeMovedClone, StrokeMoveCarriesAnchorsAndPlacedLabels)
{
    MeasureItem source = Perpendicular();
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(source);
    for (MeasurePoint &p : clone->points)
        p.pos += QPoint(10, 20);
    MergeMovedClone(source, *clone, HitStroke, -1);
    EXPECT_EQ(source.points[3].pos, QPoint(160, 50));
    EXPECT_EQ(source.subResults[0].pos, QPoint(60, 60));
    EXPECT_EQ(source.subResults[1].pos, QPoint(160, 50));
    EXPECT_EQ(source.subResults[0].labelBox, (LabelBox{60, 60, 130, 82}));
    // An unplaced label keeps following its anchor.
    EXPECT_EQ(source.subResults[1].labelBox, LabelBox{});
    EXPECT_EQ(source.labelBox, (LabelBox{0, 0, 0, 1})) << "kind 5 has no item label to carry";

    // Other kinds carry the item's label with the last point.
    MeasureItem line;
    line.kind = KindDistance2Points;
    AppendPoint(line, {10, 10});
    AppendPoint(line, {50, 10});
    line.labelBox = {10, 10, 80, 32};
    std::unique_ptr<MeasureItem> moved = CloneMeasureItem(line);
    moved->points[0].pos = {15, 12};
    moved->points[1].pos = {55, 12};
    MergeMovedClone(line, *moved, HitStroke, -1);
    EXPECT_EQ(line.labelBox, (LabelBox{15, 12, 85, 34}));
}

TEST(MergeMovedClone, LabelDragsWriteOnlyTheGrabbedBox)
{
    MeasureItem source = Perpendicular();
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(source);
    clone->labelBox = {70, 80, 140, 102};
    MergeMovedClone(source, *clone, HitSubResultLabel, 0);
    EXPECT_EQ(source.subResults[0].labelBox, (LabelBox{70, 80, 140, -1}));
    EXPECT_EQ(source.subResults[1].labelBox, LabelBox{});
    EXPECT_EQ(source.labelBox, (LabelBox{0, 0, 0, 1}));
    EXPECT_EQ(source.points[2].pos, QPoint(50, 40));

    // An unplaced clone box writes nothing; a sub-result index out of range neither.
    clone->labelBox = {};
    MergeMovedClone(source, *clone, HitLabel, -1);
    EXPECT_EQ(source.labelBox, (LabelBox{0, 0, 0, 1}));
    clone->labelBox = {1, 2, 3, 4};
    MergeMovedClone(source, *clone, HitSubResultLabel, 7);
    MergeMovedClone(source, *clone, HitLabel, -1);
    EXPECT_EQ(source.labelBox, (LabelBox{1, 2, 3, 4}));
}

TEST(MergeMovedClone, AHitOnNoSubResultLabelWritesNothing)
{
    // -1: the hit found no sub-result label; the others name none of the two.
    for (int index : {-1, -2, INT_MIN, 2, 7, INT_MAX}) {
        SCOPED_TRACE(index);
        MeasureItem source = Perpendicular();
        const MeasureItem before = source;
        std::unique_ptr<MeasureItem> clone = CloneMeasureItem(source);
        clone->labelBox = {70, 80, 140, 102};
        MergeMovedClone(source, *clone, HitSubResultLabel, index);
        EXPECT_EQ(source, before);
    }
}

TEST(ShiftLabelBox, KeepsTheMeaningOfTheBottom)
{
    LabelBox placed{10, 10, 60, 30};
    ShiftLabelBox(placed, {5, -5});
    EXPECT_EQ(placed, (LabelBox{15, 5, 65, 25}));
    LabelBox unplaced{};
    ShiftLabelBox(unplaced, {5, 40});
    EXPECT_EQ(unplaced, LabelBox{}) << "bottom 0 would otherwise turn into a placed box";
    LabelBox pending{10, 10, 60, -1};
    ShiftLabelBox(pending, {5, 40});
    EXPECT_EQ(pending, (LabelBox{15, 50, 65, -1}));
    LabelBox escaping{10, 10, 60, 30};
    ShiftLabelBox(escaping, {0, -30});
    EXPECT_EQ(escaping, (LabelBox{10, -20, 60, -1})) << "still placed, re-measured where it is";
}

TEST(MergeDraggedPoint, GeometryCopiedAndLabelsBackToTheirAnchors)
{
    MeasureItem source = Perpendicular();
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(source);
    clone->points[3].pos = {170, 60};
    clone->points[3].foot = {170, 100};
    clone->center = {1, 2};
    clone->radius = 9;
    clone->exact.center = {1.5, 2.25};  // what the values are taken from
    clone->exact.radius = 9.4;
    MergeDraggedPoint(source, *clone);
    EXPECT_EQ(source.points[3].pos, QPoint(170, 60));
    EXPECT_EQ(source.points[3].foot, QPoint(170, 100));
    EXPECT_EQ(source.center, QPoint(1, 2));
    EXPECT_EQ(source.radius, 9);
    EXPECT_EQ(source.exact, clone->exact);
    EXPECT_EQ(source.subResults[1].pos, QPoint(170, 60));
    EXPECT_EQ(source.subResults[0].labelBox.bottom, 0);
    EXPECT_EQ(source.labelBox.bottom, 0);
    EXPECT_EQ(source.subResults[0].row, 1) << "rows stay";
}

}  // namespace
}  // namespace orv
