// The live picture's overlay: the still's and the live measurements mapped
// into view pixels, labels at their own size, drawn once per change.
#include <gtest/gtest.h>

#include <functional>

#include "measure/derive.h"
#include "measure/units.h"
#include "view/live_overlay.h"

#include "tests/view/view_test_support.h"

namespace orv::test {
namespace {

// 1920 x 1080 letterboxed into 640 x 480: a third, 60 rows down.
const LiveFrameMapping kLetterbox{{1920, 1080}, {0, 60, 640, 360}};
const QSize kView(640, 480);

QTransform Letterbox()
{
    return FrameToViewTransform(kLetterbox);
}

struct MappedCase {
    const char *name;
    std::function<std::unique_ptr<MeasureItem>()> make;
    std::function<void(const MeasureItem &)> check;
};

std::unique_ptr<MeasureItem> Placed(MeasureKind kind, std::vector<QPoint> points)
{
    auto item = Item(kind, std::move(points), 2);
    UpdateDerivedGeometry(*item);
    return item;
}

TEST(LiveOverlayMappedItem, GeometryIsMadeAgainInViewPixels)
{
    const MappedCase cases[] = {
        {"distance: points and the placed label's top left",
         [] {
             auto item = Placed(KindDistance2Points, {{300, 540}, {903, 1200}});
             item->labelBox = {600, 300, 700, 320};
             return item;
         },
         [](const MeasureItem &m) {
             EXPECT_EQ(m.points[0].pos, QPoint(100, 240));
             EXPECT_EQ(m.points[1].pos, QPoint(301, 460));
             EXPECT_EQ(m.labelBox, (LabelBox{200, 160, 300, 180}));
         }},
        {"circle by three points: centre and radius",
         [] {
             return Placed(KindAreaCircle, {{660, 540}, {1260, 540}, {960, 840}});
         },
         [](const MeasureItem &m) {
             EXPECT_EQ(m.center, QPoint(320, 240));
             EXPECT_EQ(m.radius, 100);
             EXPECT_NEAR(m.exact.radius, 100.0, 0.5);
         }},
        {"angle of two lines: the vertex",
         [] {
             return Placed(KindAngle2Lines, {{0, 540}, {600, 540}, {900, 0}, {900, 300}});
         },
         [](const MeasureItem &m) {
             EXPECT_EQ(m.center, QPoint(300, 240));
             EXPECT_NEAR(m.exact.center.x(), 300.0, 0.01);
         }},
        {"perpendicular: foot and the sub-result's label",
         [] {
             auto item = Placed(KindPerpendicular, {{0, 300}, {1200, 300}, {600, 900}});
             SubResult &sub = AppendSubResult(*item, "1.00mm", KindPerpendicularPart, 0, {600, 900});
             sub.labelBox = {630, 930, 700, 946};
             item->labelBox = {};
             return item;
         },
         [](const MeasureItem &m) {
             EXPECT_EQ(m.points[2].pos, QPoint(200, 360));
             EXPECT_EQ(m.points[2].foot, QPoint(200, 160));
             EXPECT_EQ(m.subResults[0].pos, QPoint(200, 360));
             EXPECT_EQ(m.subResults[0].labelBox, (LabelBox{210, 370, 280, 386}));
             EXPECT_EQ(m.labelBox, LabelBox{});
         }},
    };
    for (const MappedCase &c : cases) {
        SCOPED_TRACE(c.name);
        const auto item = c.make();
        const MeasureItem before = *item;
        const MeasureItem m = MappedItem(*item, Letterbox());
        c.check(m);
        EXPECT_EQ(*item, before);
        EXPECT_EQ(m.lineWidth, item->lineWidth);
        EXPECT_EQ(m.fontSize, item->fontSize);
    }
}

TEST(LiveOverlayMappedItem, LabelBoxMarksAreKept)
{
    struct Case {
        const char *name;
        QTransform toView;
        LabelBox box;
        LabelBox expected;
    } const cases[] = {
        {"placed: moved, size kept", Letterbox(), {600, 300, 690, 318}, {200, 160, 290, 178}},
        {"not placed: left alone", Letterbox(), {600, 300, 690, 0}, {600, 300, 690, 0}},
        {"to be measured again: moved, still marked", Letterbox(), {600, 300, 690, -1}, {200, 160, 290, -1}},
        {"placed, moved above the picture: still placed",
         QTransform::fromScale(3, 3),
         {0, -10, 50, 5},
         {1, -29, 51, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto item = Placed(KindDistance2Points, {{300, 540}, {903, 1200}});
        item->labelBox = c.box;
        AppendSubResult(*item, "x", KindRadius, 0, {0, 0}).labelBox = c.box;
        const MeasureItem m = MappedItem(*item, c.toView);
        EXPECT_EQ(m.labelBox, c.expected);
        EXPECT_EQ(m.subResults[0].labelBox, c.expected);
    }
}

bool Transparent(const QImage &img, QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                return false;
    return true;
}

// Where anything was drawn.
QRect DrawnBounds(const QImage &img)
{
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                r |= QRect(x, y, 1, 1);
    return r;
}

constexpr ColorRef kLineColor = MakeColorRef(200, 0, 0);

MeasureDrawOptions NoLabels()
{
    MeasureDrawOptions o;
    o.labelMode = static_cast<LabelMode>(-1);
    return o;
}

TEST(LiveOverlayPicture, ItemsLandWhereTheMappingShowsThem)
{
    struct Case {
        const char *name;
        bool live;
        double stillToFrame;
        QPoint a, b;    // the item's ends, in its own pixels
        QPoint va, vb;  // where the view shows them
    } const cases[] = {
        {"still at the frame's size", false, 1.0, {300, 540}, {1500, 540}, {100, 240}, {500, 240}},
        {"still twice the frame's size", false, 0.5, {600, 1080}, {3000, 1080}, {100, 240}, {500, 240}},
        {"live, across", true, 1.0, {300, 540}, {1500, 540}, {100, 240}, {500, 240}},
        {"live, down", true, 1.0, {960, 300}, {960, 900}, {320, 160}, {320, 360}},
        {"still, down near the bottom", false, 1.0, {30, 900}, {30, 1077}, {10, 360}, {10, 419}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MeasureList list;
        list.Append(Item(KindDistance2Points, {c.a, c.b}, 1));
        LiveOverlayInputs in;
        in.mapping = kLetterbox;
        in.options = NoLabels();
        in.stillToFrameX = in.stillToFrameY = c.stillToFrame;
        (c.live ? in.liveItems : in.stillItems) = &list;
        LiveOverlay overlay;
        const QImage &img = overlay.Picture(kView, in);
        ASSERT_EQ(img.size(), kView);
        ASSERT_EQ(img.format(), QImage::Format_ARGB32_Premultiplied);
        const QRect line = QRect(c.va, c.vb).normalized();
        EXPECT_TRUE(line.contains(DrawnBounds(img))) << DrawnBounds(img).x() << "," << DrawnBounds(img).y();
        const QPoint mid = (c.va + c.vb) / 2;
        EXPECT_EQ(img.pixel(mid), ToQColor(kLineColor).rgba());
        EXPECT_EQ(img.pixel(c.va), ToQColor(kLineColor).rgba());

        // Painted over the frame's picture: the line at those view pixels.
        QImage picture(kView, QImage::Format_RGB32);
        picture.fill(Qt::black);
        overlay.PaintOnto(picture, in);
        EXPECT_EQ(picture.pixel(mid), ToQColor(kLineColor).rgb());
        EXPECT_EQ(picture.pixel(mid + QPoint(3, 3)), qRgb(0, 0, 0));
        EXPECT_EQ(overlay.drawCount(), 1);
    }
}

TEST(LiveOverlayPicture, StandardScaleShrinksWithTheStill)
{
    StandardScale scale;
    scale.show = 1;
    scale.position = {60, 300};
    scale.pixelLength = 300;
    LiveOverlayInputs in;
    in.mapping = kLetterbox;
    in.standardScale = scale;
    in.stillCalibration = ScaleSetting{};
    LiveOverlay overlay;
    const QImage &img = overlay.Picture(kView, in);
    const QRgb line = ToQColor(kScaleLineColor).rgba();
    // The end ticks a third as far apart, from (20, 160).
    EXPECT_EQ(img.pixel(20, 153), line);
    EXPECT_EQ(img.pixel(120, 153), line);
    EXPECT_EQ(img.pixel(120, 166), line);
    EXPECT_TRUE(Transparent(img, {121, 140, 400, 40}));
    // No calibration bars: the calibration page is not shown.
    EXPECT_TRUE(Transparent(img, {0, 0, 640, 140}));
}

TEST(LiveOverlayPicture, RedrawnOnlyWhenItsInputsChange)
{
    MeasureList list;
    list.Append(Item(KindDistance2Points, {{300, 540}, {1500, 540}}, 1));
    LiveOverlayInputs in;
    in.mapping = kLetterbox;
    in.liveItems = &list;
    LiveOverlay overlay;
    QImage picture(kView, QImage::Format_RGB32);
    const LiveFrameMapping pillarbox{{1024, 768}, {80, 0, 480, 360}};
    const struct Step {
        const char *name;
        std::function<void()> act;
        int draws;
    } steps[] = {
        {"first picture", [&] { overlay.Picture(kView, in); }, 1},
        {"same inputs", [&] { overlay.Picture(kView, in); }, 1},
        {"a frame painted", [&] { overlay.PaintOnto(picture, in); }, 1},
        {"invalidated",
         [&] {
             overlay.Invalidate();
             overlay.Picture(kView, in);
         },
         2},
        {"another mapping",
         [&] {
             in.mapping = pillarbox;
             overlay.PaintOnto(picture, in);
         },
         3},
        {"again", [&] { overlay.PaintOnto(picture, in); }, 3},
        {"another view size",
         [&] {
             overlay.Picture({480, 360}, in);
         },
         4},
        {"back", [&] { overlay.Picture(kView, in); }, 5},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        EXPECT_EQ(overlay.drawCount(), s.draws);
    }
    // Drawn for the pillarbox: the line starts at 80 + 300 * 480 / 1024.
    const QImage &img = overlay.Picture(kView, in);
    EXPECT_EQ(img.pixel(pillarbox.FrameToView({300.5, 540.5}).toPoint() + QPoint(1, 0)), ToQColor(kLineColor).rgba());
}

TEST(LiveOverlayLabels, UncertaintyJoinsTheValueWhenShown)
{
    struct Case {
        const char *name;
        int unit;
        double value, u;
        Language lang;
        bool shown;
        const char *expected;
    } const cases[] = {
        {"shown", UnitMicrometre, 10.7, 0.045, Language::English, true, "No.1  10.70 \u00B1 0.09um"},
        {"not shown", UnitMicrometre, 10.7, 0.045, Language::English, false, "No.1  10.70um"},
        {"Japanese suffix", UnitMicrometre, 10.7, 0.045, Language::Japanese, true, "No.1  10.70 \u00B1 0.09\u03BCm"},
        {"short inch form", UnitInch, 0.5, 0.0006, Language::English, true, "No.1  .5000 \u00B1 .0012inch"},
        {"no unit: nothing to add", UnitNone, 3.0, 0.1, Language::English, true, "No.1  3.00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto item = Placed(KindDistance2Points, {{300, 540}, {903, 1200}});
        item->number = 1;
        item->unit = c.unit;
        item->value = c.value;
        item->uncertainty = c.u;
        EXPECT_EQ(MeasureLabelText(*item, LabelMode::Summary, c.lang, c.shown), QString::fromUtf8(c.expected));
    }
}

// The overlay drawn against the items' copies drawn by hand with the options
// each kind of item must get.
TEST(LiveOverlayLabels, OnlyLiveLabelsShowTheUncertaintyAndTheSelection)
{
    MeasureList still, live;
    still.Append(Item(KindDistance2Points, {{300, 300}, {1500, 300}}, 1));
    live.Append(Item(KindDistance2Points, {{300, 800}, {1500, 800}}, 1));
    for (MeasureList *list : {&still, &live}) {
        MeasureItem &item = list->at(0);
        item.number = 1;
        item.unit = UnitMicrometre;
        item.value = 10.7;
        item.uncertainty = 0.045;
        item.labelBox = {};
    }
    struct Case {
        const char *name;
        bool uncertainty;
        bool selected;
    } const cases[] = {
        {"plain", false, false},
        {"with uncertainty", true, false},
        {"selected", false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LiveOverlayInputs in;
        in.mapping = kLetterbox;
        in.stillItems = &still;
        in.liveItems = &live;
        in.options.labelMode = LabelMode::Summary;
        in.options.selectionShown = true;
        in.options.selectedItem = c.selected ? &live.at(0) : nullptr;
        in.showUncertainty = c.uncertainty;
        LiveOverlay overlay;
        const QImage &img = overlay.Picture(kView, in);

        QImage expected(kView, QImage::Format_ARGB32_Premultiplied);
        expected.fill(Qt::transparent);
        QPainter p(&expected);
        MeasureDrawOptions o = in.options;
        o.imageSize = kView;
        o.selectedItem = nullptr;
        DrawListedMeasure(p, MappedItem(still.at(0), Letterbox()), o);
        const MeasureItem liveCopy = MappedItem(live.at(0), Letterbox());
        o.showUncertainty = c.uncertainty;
        o.selectedItem = c.selected ? &liveCopy : nullptr;
        DrawListedMeasure(p, liveCopy, o);
        p.end();
        EXPECT_TRUE(SamePixels(img, expected));
    }
}

TEST(LiveOverlayPicture, LabelsAtTheRightEdgeStayInsideTheView)
{
    MeasureList live;
    live.Append(Item(KindDistance2Points, {{1900, 720}, {1910, 740}}, 1));
    live.at(0).labelBox = {};
    LiveOverlayInputs in;
    in.mapping = kLetterbox;
    in.liveItems = &live;
    LiveOverlay overlay;
    const QImage &img = overlay.Picture(kView, in);
    // The line sits at x 633 to 636; its label, following it, is moved left.
    EXPECT_FALSE(Transparent(img, {560, 250, 70, 60}));
}

TEST(LiveOverlayPicture, NoteAtTheFootOnlyWhenGiven)
{
    const QRect foot(0, 480 - 24, 200, 24);
    for (const char *note : {"", "Scaled to this frame"}) {
        SCOPED_TRACE(note);
        LiveOverlayInputs in;
        in.mapping = kLetterbox;
        in.note = QString::fromUtf8(note);
        LiveOverlay overlay;
        const QImage &img = overlay.Picture(kView, in);
        EXPECT_EQ(Transparent(img, foot), in.note.isEmpty());
        EXPECT_TRUE(Transparent(img, {0, 0, 640, 480 - 24}));
    }
}

}  // namespace
}  // namespace orv::test
