// The label layout gives exactly the boxes the drawing used to place: every
// kind, selected or not, in each label mode, with boxes unplaced, placed
// (moved by the user) and marked for re-measuring.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_label_boxes.h"
#include "measure/render/label_layout.h"
#include "measure/values.h"

namespace orv {
namespace {

struct Shape {
    const char *what;
    MeasureKind kind;
    std::vector<QPoint> points;
};

const std::vector<Shape> &Shapes()
{
    static const std::vector<Shape> shapes = {
        {"distance", KindDistance2Points, {{100, 40}, {260, 40}}},
        {"arc", KindDistanceArc, {{100, 200}, {200, 110}, {300, 200}}},
        {"circles", KindDistanceCircles, {{50, 100}, {100, 50}, {150, 100}, {250, 300}, {300, 250}, {350, 300}}},
        {"perpendicular", KindPerpendicular, {{20, 300}, {420, 300}, {100, 150}, {200, 180}, {300, 120}}},
        {"broken line", KindBrokenLine, {{30, 30}, {90, 70}, {150, 20}}},
        {"parallel", KindParallel, {{20, 300}, {420, 290}, {100, 150}, {200, 180}}},
        {"polygon", KindAreaPolygon, {{100, 100}, {300, 120}, {280, 260}, {90, 240}}},
        {"circle", KindAreaCircle, {{200, 300}, {300, 200}, {400, 300}}},
        {"angle", KindAngle3Points, {{160, 60}, {100, 60}, {100, 120}}},
        {"angle of lines", KindAngle2Lines, {{10, 10}, {200, 60}, {10, 300}, {220, 180}}},
        {"parallel angle lines", KindAngle2Lines, {{10, 10}, {200, 10}, {10, 100}, {200, 100}}},
        {"text", KindText, {{40, 40}}},
        {"standard line", KindStandardLine, {{10, 200}, {300, 200}}},
        {"standard parallel", KindStandardParallel, {{10, 200}, {300, 210}, {100, 50}}},
        {"angle type 2", KindAngle3PointsType2, {{300, 60}, {100, 60}, {100, 220}}},
    };
    return shapes;
}

std::unique_ptr<MeasureItem> Make(const Shape &shape, int lineWidth)
{
    auto item = NewMeasureItem();
    item->kind = shape.kind;
    item->lineWidth = lineWidth;
    item->fontSize = 18;
    item->number = 4;
    item->text = "note";
    for (QPoint q : shape.points)
        AppendPoint(*item, q);
    ComputeMeasureValue(*item, ScaleFactors{0.01, 0.01, 1}, Language::English);
    int row = 0;
    for (SubResult &sub : item->subResults)
        sub.row = row++;
    if (item->subResults.size() > 2)
        item->subResults[1].row = -1;  // removed by the user
    return item;
}

enum class Boxes { Unplaced, Moved, Marked };

LabelBox BoxOf(Boxes boxes, int k)
{
    switch (boxes) {
    case Boxes::Moved:
        return {70 + 30 * k, 90 + 20 * k, 140 + 30 * k, 112 + 20 * k};
    case Boxes::Marked:
        return {70 + 30 * k, 90 + 20 * k, 140 + 30 * k, -1};
    default:
        return {};
    }
}

void SetBoxes(MeasureItem &item, Boxes boxes)
{
    item.labelBox = BoxOf(boxes, 0);
    int k = 1;
    for (SubResult &sub : item.subResults)
        sub.labelBox = BoxOf(boxes, k++);
}

TEST(LabelLayout, GivesTheBoxesTheDrawingPlaced)
{
    const LabelMode modes[] = {LabelMode::ItemNumberOnly, LabelMode::Summary, LabelMode::Details,
                               static_cast<LabelMode>(-1)};
    int placedByLayout = 0;
    for (const Shape &shape : Shapes()) {
        for (int lineWidth : {1, 4}) {
            for (Boxes boxes : {Boxes::Unplaced, Boxes::Moved, Boxes::Marked}) {
                for (LabelMode mode : modes) {
                    for (bool selected : {false, true}) {
                        SCOPED_TRACE(std::string(shape.what) + " width " + std::to_string(lineWidth) + " boxes " +
                                     std::to_string(static_cast<int>(boxes)) + " mode " +
                                     std::to_string(static_cast<int>(mode)) + (selected ? " selected" : ""));
                        auto item = Make(shape, lineWidth);
                        SetBoxes(*item, boxes);
                        MeasureDrawOptions opts;
                        opts.labelMode = mode;
                        opts.selectedItem = item.get();
                        opts.selectionShown = selected;
                        const LabelLayout expected = test::DrawnLabelBoxes(*item, opts);
                        EXPECT_EQ(LayOutLabels(*item, opts), expected);

                        const MeasureItem before = *item;
                        const bool changed = ApplyLabelLayout(*item, opts);
                        EXPECT_EQ(item->labelBox, expected.box);
                        for (std::size_t i = 0; i < expected.subResults.size(); ++i)
                            EXPECT_EQ(item->subResults[i].labelBox, expected.subResults[i]);
                        bool differs = !(before.labelBox == expected.box);
                        for (std::size_t i = 0; i < expected.subResults.size(); ++i)
                            differs = differs || !(before.subResults[i].labelBox == expected.subResults[i]);
                        EXPECT_EQ(changed, differs);
                        placedByLayout += changed;
                        // Placed once, the boxes stay.
                        EXPECT_FALSE(ApplyLabelLayout(*item, opts));
                    }
                }
            }
        }
    }
    // The table reaches the placing branches, not only the kept boxes.
    EXPECT_GT(placedByLayout, 40);
}

}  // namespace
}  // namespace orv
