// The bounds of what an item paints, against the pixels it paints.
#include <gtest/gtest.h>

#include <QPainter>

#include <random>

#include "view/painted_bounds.h"

#include "tests/view/view_test_support.h"

namespace orv::test {
namespace {

TEST(PaintedBounds, CoverEveryPixelTheEditItemPaints)
{
    const std::vector<std::pair<MeasureKind, std::vector<QPoint>>> items = {
        {KindDistance2Points, {{50, 50}, {170, 140}}},
        {KindDistanceArc, {{60, 150}, {120, 60}, {180, 150}}},
        {KindDistanceCircles, {{60, 100}, {100, 60}, {140, 100}, {160, 160}, {180, 140}, {200, 160}}},
        {KindPerpendicular, {{40, 40}, {200, 60}, {120, 170}, {60, 120}}},
        {KindParallel, {{40, 40}, {200, 60}, {120, 170}}},
        {KindAreaPolygon, {{40, 40}, {200, 60}, {120, 170}}},
        {KindAreaCircle, {{60, 100}, {100, 40}, {150, 100}}},
        {KindAngle3Points, {{40, 150}, {120, 100}, {200, 160}}},
        {KindAngle3PointsType2, {{40, 150}, {120, 100}, {200, 160}}},
        {KindAngle2Lines, {{20, 20}, {120, 80}, {30, 190}, {130, 120}}},
        {KindText, {{70, 90}}},
        {KindStandardParallel, {{40, 40}, {200, 60}, {120, 170}}},
    };
    for (const auto &[kind, points] : items) {
        for (const int width : {1, 5}) {
            for (const bool selected : {false, true}) {
                auto item = Item(kind, points, width);
                MeasureDrawOptions opts;
                opts.selectionShown = true;
                opts.selectedItem = selected ? item.get() : nullptr;
                QImage blank(320, 240, QImage::Format_RGB32);
                blank.fill(qRgb(90, 90, 90));
                QImage drawn = blank.copy();
                const QRegion area = DrawEditItem(drawn, *item, opts);
                QRegion touched;
                int missed = 0;
                for (int y = 0; y < drawn.height(); ++y)
                    for (int x = 0; x < drawn.width(); ++x)
                        if (drawn.pixel(x, y) != blank.pixel(x, y)) {
                            touched += QRect(x, y, 1, 1);
                            missed += !area.contains(QPoint(x, y));
                        }
                SCOPED_TRACE(testing::Message() << "kind " << kind << " width " << width << " selected " << selected);
                if (touched.isEmpty()) {
                    // Only an unselected text draws nothing without its label.
                    EXPECT_TRUE(kind == KindText && !selected);
                    continue;
                }
                EXPECT_EQ(missed, 0);
                // Tight enough to be worth it: a few pixels of slack per side.
                const QRect bounds = area.boundingRect();
                const QRect t = touched.boundingRect();
                EXPECT_LE(bounds.width(), t.width() + 2 * (width + 8));
                EXPECT_LE(bounds.height(), t.height() + 2 * (width + 8));
            }
        }
    }
}

// Lines across a large image cover a band along them, not the image.
TEST(PaintedBounds, LongLinesCoverABandAlongThem)
{
    const QImage like(4000, 3000, QImage::Format_RGB32);
    for (const MeasureKind kind : {KindParallel, KindStandardParallel, KindDistance2Points}) {
        auto item = Item(kind, {{900, 700}, {1300, 1100}, {1500, 600}}, 3);
        MeasureDrawOptions opts;
        opts.selectionShown = true;
        opts.selectedItem = item.get();
        QImage canvas(like.size(), QImage::Format_RGB32);
        canvas.fill(Qt::black);
        const QRegion area = DrawEditItem(canvas, *item, opts);
        EXPECT_LT(Area(area) * 20, static_cast<qint64>(like.width()) * like.height()) << kind;
        // Every drawn pixel lies in the area (a sparse check of the large image).
        for (int y = 0; y < canvas.height(); y += 3) {
            const auto *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
            for (int x = 0; x < canvas.width(); ++x) {
                if (line[x] != qRgb(0, 0, 0)) {
                    ASSERT_TRUE(area.contains(QPoint(x, y))) << kind << " at " << x << "," << y;
                }
            }
        }
    }
}

// The banded search over a region's rectangles answers as QRegion does, and
// the pairwise union is the union.
TEST(PaintedBounds, RegionIndexAndUnionAgreeWithQRegion)
{
    std::mt19937 rng(31);
    auto rect = [&](int spread, int size) {
        return QRect(static_cast<int>(rng() % static_cast<unsigned>(spread)),
                     static_cast<int>(rng() % static_cast<unsigned>(spread)),
                     1 + static_cast<int>(rng() % static_cast<unsigned>(size)),
                     1 + static_cast<int>(rng() % static_cast<unsigned>(size)));
    };
    for (const int count : {1, 7, 60, 400}) {
        std::vector<QRect> rects;
        QRegion expected;
        for (int i = 0; i < count; ++i) {
            rects.push_back(rect(900, 80));
            expected += rects.back();
        }
        const QRegion region = RegionOf(rects);
        EXPECT_EQ(region, expected) << count;
        const RegionIndex index(region);
        for (int probe = 0; probe < 500; ++probe) {
            const QRect r = rect(1000, 40);
            ASSERT_EQ(index.Meets(r), region.intersects(r)) << count << " probe " << probe;
        }
    }
}

// Two drawings of an item differ only where their unmatched pieces lie, and
// for a selection or a new value that is a small part of the item.
TEST(PaintedBounds, DifferenceOfTwoDrawingsCoversEveryChangedPixel)
{
    struct Case {
        const char *what;
        MeasureKind kind;
        std::vector<QPoint> points;
        std::function<void(MeasureItem &, MeasureDrawOptions &)> change;
        int maxShare;  // the difference is at most 1/maxShare of both areas (0: no bound)
    };
    const std::vector<Case> cases = {
        {"parallel selected",
         KindParallel,
         {{300, 200}, {700, 420}, {500, 100}, {380, 520}},
         [](MeasureItem &item, MeasureDrawOptions &o) { o.selectedItem = &item; },
         4},
        {"standard parallel selected",
         KindStandardParallel,
         {{300, 200}, {700, 420}, {500, 100}},
         [](MeasureItem &item, MeasureDrawOptions &o) { o.selectedItem = &item; },
         4},
        {"distance's new value",
         KindDistance2Points,
         {{100, 500}, {800, 60}},
         [](MeasureItem &item, MeasureDrawOptions &) { item.value = 123.25; },
         3},
        {"perpendicular's new texts",
         KindPerpendicular,
         {{100, 100}, {800, 150}, {400, 500}, {600, 400}},
         [](MeasureItem &item, MeasureDrawOptions &) {
             item.value = 7.5;
             for (SubResult &sub : item.subResults)
                 sub.text += "1";
         },
         3},
        {"polygon's point moved",
         KindAreaPolygon,
         {{100, 100}, {700, 150}, {600, 500}, {150, 450}},
         [](MeasureItem &item, MeasureDrawOptions &) {
             SetPointAt(&item, 2, {650, 540});
         },
         0},
        {"circle's colour",
         KindAreaCircle,
         {{200, 300}, {400, 120}, {600, 300}},
         [](MeasureItem &item, MeasureDrawOptions &) { item.lineColor = MakeColorRef(0, 200, 0); },
         0},
    };
    const QImage background = Noise({900, 640}, 17);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto item = Item(c.kind, c.points, 2);
        item->labelBox = {};
        item->value = 4.5;
        for (std::size_t k = 2; k < c.points.size(); ++k)
            AppendSubResult(*item, "1.00 px", static_cast<int>(c.kind), static_cast<int>(k), c.points[k]);
        MeasureDrawOptions opts;
        opts.selectionShown = true;
        const PaintedArea before = ListedItemArea(background, *item, opts);
        QImage old = background.copy();
        {
            QPainter p(&old);
            DrawListedMeasure(p, *item, opts);
        }
        c.change(*item, opts);
        const PaintedArea after = ListedItemArea(background, *item, opts);
        QImage now = background.copy();
        {
            QPainter p(&now);
            DrawListedMeasure(p, *item, opts);
        }
        std::vector<QRect> rects;
        before.AddDifferenceTo(after, rects);
        const QRegion difference = RegionOf(rects);
        int outside = 0;
        for (int y = 0; y < old.height(); ++y)
            for (int x = 0; x < old.width(); ++x)
                outside += old.pixel(x, y) != now.pixel(x, y) && !difference.contains(QPoint(x, y));
        EXPECT_EQ(outside, 0);
        if (c.maxShare > 0) {
            std::vector<QRect> all;
            before.AddTo(all);
            after.AddTo(all);
            EXPECT_LE(Area(difference) * c.maxShare, Area(RegionOf(all)));
        }
    }
}

}  // namespace
}  // namespace orv::test
