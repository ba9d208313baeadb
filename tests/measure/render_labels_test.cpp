// Label texts, anchors, placed and re-measured boxes, frames, detail lines and
// the point labels of perpendicular and parallel items.
#include <gtest/gtest.h>

#include <QPainter>

#include "measure/render/draw_measures.h"
#include "measure/render/draw_shapes.h"
#include "measure/render/gdi_font.h"
#include "tests/support/render_test_support.h"
#include "view_drawing.h"
#include "measure/values.h"

namespace orv {
namespace {

using namespace test;

constexpr int kFont = 16;
constexpr int kMargin = 3;  // line width 1 + 2

std::unique_ptr<MeasureItem> Item(MeasureKind kind, std::initializer_list<QPoint> points, int number = 1)
{
    auto item = NewMeasureItem();
    item->kind = kind;
    item->lineWidth = 1;
    item->lineColor = 0x000000FF;
    item->fontSize = kFont;
    item->fontColor = 0x00FFFF00;
    item->backColor = 0x00F0F0F0;
    item->backMode = 1;
    item->number = number;
    item->row = number - 1;
    for (QPoint q : points)
        AppendPoint(*item, q);
    return item;
}

MeasureDrawOptions Mode(LabelMode mode, const MeasureItem *selected = nullptr)
{
    MeasureDrawOptions o;
    o.labelMode = mode;
    o.selectedItem = selected;
    o.selectionShown = selected != nullptr;
    return o;
}

QImage Draw(MeasureList &list, const MeasureDrawOptions &opts, MeasureItem *edit = nullptr)
{
    QImage img = BlankImage(500, 400);
    DrawAllAsView(img, list, edit, opts);
    return img;
}

int Width(const QString &text)
{
    return TextWidth(MakeLabelFont(QStringLiteral("Arial"), kFont), text);
}

// The text's ink starts a little right of and below its cell's top left.
void ExpectTextAt(const QRect &ink, QPoint topLeft, const std::string &what)
{
    ASSERT_TRUE(ink.isValid()) << what;
    EXPECT_GE(ink.left(), topLeft.x()) << what;
    EXPECT_LE(ink.left(), topLeft.x() + 3) << what;
    EXPECT_GE(ink.top(), topLeft.y()) << what;
    EXPECT_LE(ink.top(), topLeft.y() + 6) << what;
    EXPECT_LE(ink.bottom(), topLeft.y() + kFont) << what;
}

TEST(RenderLabelText, NumberValueAndSuffix)
{
    auto item = Item(KindDistance2Points, {{0, 0}, {10, 0}});
    item->value = 12.346;
    item->unit = 1;
    EXPECT_EQ(MeasureLabelText(*item, LabelMode::Summary, Language::English), QStringLiteral("No.1  12.35mm"));
    EXPECT_EQ(MeasureLabelText(*item, LabelMode::Details, Language::English), QStringLiteral("No.1  12.35mm"));
    EXPECT_EQ(MeasureLabelText(*item, LabelMode::ItemNumberOnly, Language::English), QStringLiteral("No.1"));
    item->unit = 2;
    EXPECT_EQ(MeasureLabelText(*item, LabelMode::Summary, Language::Japanese), QStringLiteral("No.1  12.35μm"));
    item->unit = 3;
    item->value = 0.5;
    EXPECT_EQ(MeasureLabelText(*item, LabelMode::Summary, Language::English), QStringLiteral("No.1  .5000inch"));
    item->value = 0;
    item->unit = 8;
    EXPECT_EQ(MeasureLabelText(*item, LabelMode::Summary, Language::English), QStringLiteral("No.1"));

    auto parallel = Item(KindAngle2Lines, {{0, 0}, {10, 0}, {0, 10}, {10, 10}}, 4);
    parallel->center = QPoint(999, 999);
    parallel->value = 30;  // left from before the lines became parallel
    parallel->unit = 8;
    EXPECT_EQ(MeasureLabelText(*parallel, LabelMode::Summary, Language::English), QStringLiteral("No.4"));

    SubResult sub;
    sub.text = "1.00mm";
    auto perp = Item(KindPerpendicular, {}, 3);
    EXPECT_EQ(SubResultLabelText(*perp, 2, sub), QStringLiteral("No.3_2 1.00mm"));
}

TEST(RenderLabels, UnplacedLabelsGoToTheKindsAnchor)
{
    struct Case {
        MeasureKind kind;
        std::vector<QPoint> points;
        QPoint anchor;
    };
    const std::vector<Case> cases = {
        {KindDistance2Points, {{200, 100}, {60, 140}}, {60, 120}},
        {KindDistanceArc, {{100, 150}, {150, 100}, {200, 150}}, {130, 130}},
        {KindDistanceCircles, {{100, 150}, {150, 100}, {200, 150}}, {130, 130}},
        {KindBrokenLine, {{100, 100}, {200, 150}, {300, 100}}, {80, 80}},
        {KindAreaPolygon, {{100, 100}, {200, 150}, {300, 100}}, {80, 80}},
        {KindAreaCircle, {{100, 150}, {150, 100}, {200, 150}}, {130, 130}},
        {KindAngle3Points, {{100, 100}, {200, 200}, {301, 101}}, {180, 113}},
        {KindAngle3PointsType2, {{100, 100}, {200, 200}, {301, 101}}, {180, 113}},
        // Lines y = 100 + (x - 100) and y = 300 - (x - 100) meet at (200, 200).
        {KindAngle2Lines, {{100, 100}, {150, 150}, {100, 300}, {150, 250}}, {113, 180}},
        {KindText, {{120, 90}}, {120, 90}},
    };
    for (const Case &c : cases) {
        MeasureList list;
        auto item = Item(c.kind, {});
        for (QPoint q : c.points)
            AppendPoint(*item, q);
        item->text = "Note";
        list.Append(std::move(item));
        const QImage img = Draw(list, Mode(LabelMode::Summary));
        ExpectTextAt(BoxWhere(img, Tinted(kCyan)), c.anchor, "kind " + std::to_string(c.kind));
        EXPECT_EQ(list.front()->labelBox.bottom, 0) << c.kind;  // unselected: not placed
    }
}

TEST(RenderLabels, ParallelLinesLabelSitsBetweenTheLines)
{
    MeasureList list;
    list.Append(Item(KindAngle2Lines, {{100, 100}, {300, 100}, {100, 200}, {300, 200}}));
    const QImage img = Draw(list, Mode(LabelMode::Summary));
    EXPECT_EQ(list.front()->center, QPoint(999, 999));
    EXPECT_EQ(ParallelAnglesAnchor(*list.front()), QPoint(80, 130));
    const QRect ink = BoxWhere(img, Tinted(kCyan));
    ExpectTextAt(ink, {80, 130}, "parallel");
    EXPECT_NEAR(ink.width(), Width(QStringLiteral("No.1")), 3);
}

TEST(RenderLabels, PlacedAndRemeasuredBoxesGiveTheTextPosition)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{20, 300}, {60, 300}}));
    MeasureItem &item = *list.front();
    item.labelBox = {300, 50, 380, 80};
    ExpectTextAt(BoxWhere(Draw(list, Mode(LabelMode::ItemNumberOnly)), Tinted(kCyan)), {300, 50}, "placed");
    item.labelBox.bottom = -1;  // value changed since placing
    ExpectTextAt(BoxWhere(Draw(list, Mode(LabelMode::ItemNumberOnly)), Tinted(kCyan)), {303, 53}, "marked");
    EXPECT_EQ(item.labelBox.bottom, -1);  // only a selected drawing re-measures
}

TEST(RenderLabels, SelectedUnplacedLabelIsMeasuredAndFramed)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{200, 100}, {60, 140}}));
    MeasureItem &item = *list.front();
    item.value = 12.346;
    item.unit = 1;
    const QImage img = Draw(list, Mode(LabelMode::Summary, &item));
    const int w = Width(QStringLiteral("No.1  12.35mm"));
    EXPECT_EQ(item.labelBox, (LabelBox{60, 120, 60 + w + 2 * kMargin, 120 + kFont + 2 * kMargin}));

    // Frame (L - m, T - m) to (right - m, bottom - m), white inside, text within.
    const QRect frame(QPoint(57, 117), QPoint(60 + w + kMargin - 1, 120 + kFont + kMargin - 1));
    EXPECT_EQ(img.pixelColor(frame.topLeft()), kRed);
    EXPECT_EQ(img.pixelColor(frame.bottomRight()), kRed);
    EXPECT_EQ(img.pixelColor(frame.left(), frame.center().y()), kRed);
    EXPECT_EQ(img.pixelColor(frame.right(), frame.center().y()), kRed);
    EXPECT_EQ(img.pixelColor(frame.left() + 1, frame.top() + 1), QColor(Qt::white));
    const QRect ink = BoxWhere(img, Tinted(kCyan), frame.adjusted(-20, -20, 20, 20));
    ASSERT_TRUE(ink.isValid());
    EXPECT_TRUE(frame.adjusted(1, 1, -1, -1).contains(ink)) << ink.left() << "," << ink.top() << " " << ink.right();
    EXPECT_NEAR(ink.width(), w, 4);
}

TEST(RenderLabels, SelectedMarkedBoxKeepsItsPlaceAndFrame)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{20, 300}, {60, 300}}));
    MeasureItem &item = *list.front();
    item.labelBox = {300, 50, 330, -1};
    const QImage img = Draw(list, Mode(LabelMode::ItemNumberOnly, &item));
    const int w = Width(QStringLiteral("No.1"));
    EXPECT_EQ(item.labelBox, (LabelBox{300, 50, 300 + w + 2 * kMargin, 50 + kFont + 2 * kMargin}));
    EXPECT_EQ(img.pixelColor(297, 47), kRed);
    ExpectTextAt(BoxWhere(img, Tinted(kCyan), QRect(290, 40, 100, 40)), {300, 50}, "re-measured");
    // A second selected drawing frames the placed box from the marks.
    const QImage again = Draw(list, Mode(LabelMode::ItemNumberOnly, &item));
    EXPECT_EQ(again.pixelColor(297, 47), kRed);
    ExpectTextAt(BoxWhere(again, Tinted(kCyan), QRect(290, 40, 100, 40)), {300, 50}, "placed");
}

TEST(RenderLabels, SelectionOnlyShowsOnTheMeasureAndOptionPages)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{100, 100}, {200, 100}}));
    MeasureDrawOptions opts = Mode(LabelMode::Summary, list.front());
    opts.selectionShown = false;
    const QImage img = Draw(list, opts);
    EXPECT_EQ(list.front()->labelBox.bottom, 0);
    EXPECT_NE(img.pixelColor(100, 92), kRed);  // no marker
    opts.selectionShown = true;
    const QImage shown = Draw(list, opts);
    EXPECT_EQ(shown.pixelColor(100, 92), kRed);
    EXPECT_EQ(shown.pixelColor(200, 92), kRed);
    EXPECT_GT(list.front()->labelBox.bottom, 0);
}

TEST(RenderLabels, CircleDetailsAreIndentedLinesWithRemovedOnesLeftOut)
{
    MeasureList list;
    list.Append(Item(KindAreaCircle, {{100, 200}, {200, 100}, {300, 200}}));
    MeasureItem &item = *list.front();
    item.value = 3.14;
    item.unit = 5;
    AppendSubResult(item, "D = 2.00mm", KindDiameter, 1, {100, 200});
    AppendSubResult(item, "R = 1.00mm", KindRadius, -1, {100, 200});
    AppendSubResult(item, "L = 6.28mm", KindCircumference, 2, {100, 200});
    const QImage img = Draw(list, Mode(LabelMode::Details));
    const QPoint label(item.center.x() - 20, item.center.y() - 20);
    EXPECT_EQ(item.center, QPoint(200, 200));
    const int x = label.x() + kFont + 10;
    for (int k = 1; k <= 3; ++k) {
        const QRect band(label.x() - 5, label.y() + k * kFont + 10, 200, kFont);
        const QRect ink = BoxWhere(img, Tinted(kCyan), band);
        if (k == 2) {
            EXPECT_FALSE(ink.isValid());
            continue;
        }
        ExpectTextAt(ink, {x, band.top()}, "line " + std::to_string(k));
    }
    // Summary mode shows the label alone.
    const QImage summary = Draw(list, Mode(LabelMode::Summary));
    EXPECT_FALSE(BoxWhere(summary, Tinted(kCyan), QRect(0, label.y() + kFont + 10, 500, 60)).isValid());
}

TEST(RenderLabels, NegativeModeDrawsNoLabelsAtAll)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{100, 100}, {200, 100}}));
    list.Append(Item(KindText, {{100, 200}}, 2));
    list.at(1).text = "Hello";
    const QImage img = Draw(list, Mode(static_cast<LabelMode>(-1)));
    EXPECT_EQ(CountWhere(img, Tinted(kCyan)), 0);
    EXPECT_EQ(img.pixelColor(150, 100), kRed);
}

TEST(RenderLabels, TextItemIsItsOwnLabelAndSelectedGetsABox)
{
    MeasureList list;
    list.Append(Item(KindText, {{100, 200}}));
    MeasureItem &item = *list.front();
    item.text = "Hello";
    const QImage img = Draw(list, Mode(LabelMode::ItemNumberOnly, &item));
    const int w = Width(QStringLiteral("Hello"));
    ExpectTextAt(BoxWhere(img, Tinted(kCyan)), {100, 200}, "text");
    // (p1 - 2) to (p1.x + width + lineWidth + 1, p1.y + lineWidth + fontSize + 1), no markers.
    EXPECT_EQ(img.pixelColor(98, 198), kRed);
    EXPECT_EQ(img.pixelColor(100 + w + 1, 200 + 1 + kFont), kRed);
    EXPECT_NE(img.pixelColor(100, 192), kRed);
    EXPECT_EQ(item.labelBox.bottom, 0);
}

TEST(RenderLabels, EditItemIsDrawnLastWithoutALabel)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{100, 100}, {300, 100}}));
    auto edit = CloneMeasureItem(*list.front());
    edit->points[0].pos = QPoint(100, 250);
    edit->points[1].pos = QPoint(300, 250);
    const QImage img = Draw(list, Mode(LabelMode::Summary, edit.get()), edit.get());
    EXPECT_EQ(img.pixelColor(200, 250), kRed);
    EXPECT_EQ(img.pixelColor(100, 242), kRed);  // selected: marked
    EXPECT_FALSE(BoxWhere(img, Tinted(kCyan), QRect(90, 240, 300, 40)).isValid());
    EXPECT_TRUE(BoxWhere(img, Tinted(kCyan), QRect(90, 90, 300, 40)).isValid());
    EXPECT_EQ(edit->labelBox.bottom, 0);
}

// Base line (20, 300)-(420, 300), measured points at x 100, 200 and 300.
std::unique_ptr<MeasureItem> PointLabelItem(MeasureKind kind)
{
    auto item = Item(kind, {{20, 300}, {420, 300}, {100, 150}, {200, 180}, {300, 120}}, 3);
    QImage scratch = BlankImage(1, 1);
    {
        QPainter p(&scratch);
        DrawEditAsView(p, *item, MeasureDrawOptions{});
    }
    ComputeMeasureValue(*item, ScaleFactors{0.01, 0.01, 1}, Language::English);
    int row = 3;
    for (SubResult &s : item->subResults) {
        s.row = row++;
        s.labelBox.bottom = -1;
    }
    item->subResults[1].row = -1;  // removed by the user
    return item;
}

TEST(RenderLabels, PointLabelsOfPerpendicularAndParallelSitAtTheirPoints)
{
    for (MeasureKind kind : {KindPerpendicular, KindParallel}) {
        MeasureList list;
        list.Append(PointLabelItem(kind));
        MeasureItem &item = *list.front();
        ASSERT_EQ(item.subResults.size(), 3u);
        EXPECT_EQ(item.subResults[0].text, "1.50mm");
        const QImage img = Draw(list, Mode(LabelMode::Details));
        const std::string what = "kind " + std::to_string(kind);
        ExpectTextAt(BoxWhere(img, Tinted(kCyan), QRect(95, 145, 150, 30)), {103, 153}, what + " first");
        ExpectTextAt(BoxWhere(img, Tinted(kCyan), QRect(295, 115, 150, 30)), {303, 123}, what + " third");
        EXPECT_NEAR(BoxWhere(img, Tinted(kCyan), QRect(95, 145, 150, 30)).width(),
                    Width(QStringLiteral("No.3_1 1.50mm")), 4);
        // The removed point has no label, no line and no marker.
        EXPECT_FALSE(BoxWhere(img, Tinted(kCyan), QRect(190, 170, 150, 40)).isValid()) << what;
        EXPECT_EQ(CountWhere(img, Exactly(kRed), QRect(199, 185, 3, 100)), 0) << what;
        // No item label at the anchor.
        EXPECT_FALSE(BoxWhere(img, Tinted(kCyan), QRect(0, 270, 60, 30)).isValid()) << what;
        EXPECT_EQ(item.labelBox.bottom, 1) << what;
        EXPECT_EQ(item.subResults[0].labelBox.left, 103) << what;

        // Summary and number-only modes show no label at all for these kinds.
        for (LabelMode mode : {LabelMode::Summary, LabelMode::ItemNumberOnly}) {
            MeasureList other;
            other.Append(PointLabelItem(kind));
            EXPECT_EQ(CountWhere(Draw(other, Mode(mode)), Tinted(kCyan)), 0) << what;
        }
    }
}

TEST(RenderLabels, SelectedPointLabelsAreMeasuredAndFramed)
{
    MeasureList list;
    list.Append(PointLabelItem(KindPerpendicular));
    MeasureItem &item = *list.front();
    const QImage img = Draw(list, Mode(LabelMode::Details, &item));
    const int w = Width(QStringLiteral("No.3_1 1.50mm"));
    // Measured while the item's box is unplaced: the box starts at the point.
    EXPECT_EQ(item.subResults[0].labelBox, (LabelBox{100, 150, 100 + w + 2 * kMargin, 150 + kFont + 2 * kMargin}));
    EXPECT_EQ(item.subResults[1].labelBox.bottom, -1);  // removed: untouched
    EXPECT_EQ(img.pixelColor(97, 147), kRed);
    ExpectTextAt(BoxWhere(img, Tinted(kCyan), QRect(96, 146, 150, 30)), {100, 150}, "framed");
    // Markers on listed points only.
    EXPECT_EQ(img.pixelColor(300, 112), kRed);
    EXPECT_NE(img.pixelColor(200, 172), kRed);
    // Placed now: the next drawing keeps the box and frames it from the marks.
    const QImage again = Draw(list, Mode(LabelMode::Details, &item));
    EXPECT_EQ(again.pixelColor(97, 147), kRed);
    ExpectTextAt(BoxWhere(again, Tinted(kCyan), QRect(96, 146, 150, 30)), {100, 150}, "kept");
}

TEST(RenderLabels, UnselectedUnplacedLabelStaysAtItsAnchorInDetailMode)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{200, 100}, {60, 140}}));
    Draw(list, Mode(LabelMode::Details));
    EXPECT_EQ(list.front()->labelBox.bottom, 0);
    ExpectTextAt(BoxWhere(Draw(list, Mode(LabelMode::Details)), Tinted(kCyan)), {60, 120}, "second drawing");
}

}  // namespace
}  // namespace orv
