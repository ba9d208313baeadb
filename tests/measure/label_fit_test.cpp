// Labels near the image's edges are moved inside it: drawn, they show as whole
// as far from the edges, and the boxes the layout places lie inside with
// their frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "measure/render/draw_measures.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/label_layout.h"
#include "measure/values.h"
#include "tests/support/render_test_support.h"

namespace orv {
namespace {

using namespace test;

const QSize kImage(300, 200);
// Far enough for every label to fit around the shifted item.
const QPoint kFar(300, 300);

std::unique_ptr<MeasureItem> Make(MeasureKind kind, const std::vector<QPoint> &points, QPoint shift = {})
{
    auto item = NewMeasureItem();
    item->kind = kind;
    item->lineWidth = 1;
    item->lineColor = MakeColorRef(255, 0, 0);
    item->fontSize = 18;
    item->fontColor = MakeColorRef(0, 0, 255);
    item->backColor = MakeColorRef(0, 255, 0);  // opaque: the label's cells show where it lies
    item->backMode = 0;
    item->number = 5;
    for (QPoint q : points)
        AppendPoint(*item, q + shift);
    ComputeMeasureValue(*item, ScaleFactors{0.01, 0.01, 1}, Language::English);
    int row = 0;
    for (SubResult &sub : item->subResults)
        sub.row = row++;
    return item;
}

MeasureDrawOptions Options(QSize image, const MeasureItem *selected = nullptr)
{
    MeasureDrawOptions o;
    o.labelMode = LabelMode::Details;
    o.imageSize = image;
    o.selectedItem = selected;
    o.selectionShown = selected != nullptr;
    return o;
}

// Where the label cells are drawn, the boxes placed first as the window does.
QRect LabelCells(MeasureItem &item, QSize image, const MeasureDrawOptions &opts)
{
    ApplyLabelLayout(item, opts);
    QImage img = BlankImage(image.width(), image.height());
    QPainter p(&img);
    DrawListedMeasure(p, item, opts);
    p.end();
    return BoxWhere(img, Exactly(kGreen));
}

// The frame drawn around a box (draw_shapes.h) lies inside the image.
testing::AssertionResult FrameInside(const MeasureItem &item, const LabelBox &b, QSize image)
{
    const int m = LabelMargin(item);
    if (b.bottom < 1)
        return testing::AssertionFailure() << "not placed";
    if (b.left - m < 0 || b.top - m < 0 || b.right - m > image.width() || b.bottom - m > image.height())
        return testing::AssertionFailure() << "frame " << b.left - m << "," << b.top - m << " " << b.right - m
                                           << "," << b.bottom - m;
    return testing::AssertionSuccess();
}

struct EdgeCase {
    const char *what;
    MeasureKind kind;
    std::vector<QPoint> points;
};

const std::vector<EdgeCase> kEdgeCases = {
    {"distance by the right edge", KindDistance2Points, {{200, 60}, {296, 60}}},
    {"distance by the bottom edge", KindDistance2Points, {{40, 196}, {140, 196}}},
    {"distance by the corner", KindDistance2Points, {{230, 190}, {296, 196}}},
    {"point label by the right edge", KindPerpendicular, {{20, 100}, {280, 100}, {290, 60}}},
    {"point label by the bottom edge", KindParallel, {{20, 20}, {280, 20}, {120, 194}}},
    {"circle and its detail lines by the bottom", KindAreaCircle, {{100, 180}, {130, 150}, {160, 180}}},
};

TEST(LabelFit, LabelsByAnEdgeShowWhole)
{
    for (const EdgeCase &c : kEdgeCases) {
        for (bool selected : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (selected ? " selected" : ""));
            auto far = Make(c.kind, c.points, kFar);
            const QSize farImage = kImage + QSize(2 * kFar.x(), 2 * kFar.y());
            const QRect whole = LabelCells(*far, farImage, Options(farImage, selected ? far.get() : nullptr));
            ASSERT_TRUE(whole.isValid());

            // Drawn where it is, the image cuts it.
            auto cut = Make(c.kind, c.points);
            const QRect uncut = LabelCells(*cut, kImage, Options({}, selected ? cut.get() : nullptr));
            ASSERT_TRUE(uncut.isValid());
            EXPECT_LT(uncut.width() * uncut.height(), whole.width() * whole.height()) << "the case reaches no edge";

            auto near = Make(c.kind, c.points);
            const MeasureDrawOptions opts = Options(kImage, selected ? near.get() : nullptr);
            const QRect shown = LabelCells(*near, kImage, opts);
            EXPECT_EQ(shown.size(), whole.size());
            EXPECT_TRUE(QRect(QPoint(), kImage).contains(shown));
            // Drawn again with the boxes now placed, it stays where it was.
            EXPECT_EQ(LabelCells(*near, kImage, opts), shown);
            EXPECT_FALSE(ApplyLabelLayout(*near, opts)) << "the layout keeps moving it";
            if (!selected)
                continue;
            if (c.kind == KindPerpendicular || c.kind == KindParallel) {
                for (const SubResult &sub : near->subResults) {
                    EXPECT_TRUE(FrameInside(*near, sub.labelBox, kImage));
                }
            } else {
                EXPECT_TRUE(FrameInside(*near, near->labelBox, kImage));
            }
        }
    }
}

TEST(LabelFit, PlacedBoxesAreMovedInsideWhereTheyFit)
{
    struct Case {
        const char *what;
        QPoint to;    // where the placed box is moved
        QSize image;
        bool fitsAcross;
    };
    const std::vector<Case> cases = {
        {"past the right edge", {260, 80}, kImage, true},
        {"past the bottom edge", {60, 190}, kImage, true},
        {"past the top left", {-40, -12}, kImage, true},
        {"wider than the image", {-10, 190}, QSize(60, 200), false},
    };
    for (const Case &c : cases) {
        for (MeasureKind kind : {KindDistance2Points, KindPerpendicular}) {
            SCOPED_TRACE(std::string(c.what) + " kind " + std::to_string(kind));
            auto item = Make(kind, {{40, 100}, {200, 100}, {120, 60}});
            // Placed in the middle, then moved there by the user.
            const MeasureDrawOptions opts = Options(c.image, item.get());
            ApplyLabelLayout(*item, opts);
            ApplyLabelLayout(*item, opts);
            LabelBox &box = kind == KindDistance2Points ? item->labelBox : item->subResults[0].labelBox;
            ASSERT_GE(box.bottom, 1);
            const QSize size(box.right - box.left, box.bottom - box.top);
            box = {c.to.x(), c.to.y(), c.to.x() + size.width(), c.to.y() + size.height()};

            for (const MeasureDrawOptions &o : {opts, Options(c.image)}) {
                LabelBox moved = box;
                MeasureItem copy = *item;
                EXPECT_TRUE(ApplyLabelLayout(copy, o));
                moved = kind == KindDistance2Points ? copy.labelBox : copy.subResults[0].labelBox;
                EXPECT_EQ(QSize(moved.right - moved.left, moved.bottom - moved.top), size);
                const int m = LabelMargin(copy);
                if (c.fitsAcross) {
                    EXPECT_TRUE(FrameInside(copy, moved, c.image));
                } else {
                    EXPECT_EQ(moved.left, box.left) << "moved although it cannot fit";
                    EXPECT_LE(moved.bottom - m, c.image.height());
                }
                EXPECT_FALSE(ApplyLabelLayout(copy, o));
                // Drawn, the label lies in its box.
                const QRect cells = LabelCells(copy, c.image, o);
                ASSERT_TRUE(cells.isValid());
                EXPECT_EQ(cells.topLeft(), QPoint(std::max(moved.left, 0), moved.top));
            }
        }
    }
}

}  // namespace
}  // namespace orv
