// The view's caches: the layer under the edit item, the bounds of what the
// edit item paints, and region rescaling, each against a full rebuild.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QScreen>
#include <QPainter>

#include <functional>
#include <random>

#include "app/calib_tab.h"
#include "interaction_fixture.h"
#include "app/option_tab.h"
#include "app/composition_inputs.h"
#include "app/scroll_dlg.h"
#include "app/painted_bounds.h"
#include "measure/render/draw_measures.h"
#include "calib/scale_bars.h"
#include "app/view_composer.h"
#include "measure/render/label_layout.h"
#include "app/view_layer.h"
#include "app/view_scaler.h"

namespace orv::test {
namespace {

QImage Noise(QSize size, unsigned seed)
{
    QImage img(size, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(static_cast<int>(rng() & 0xff), static_cast<int>(rng() & 0xff),
                           static_cast<int>(rng() & 0xff));
    }
    return img;
}

qint64 Area(const QRegion &r)
{
    qint64 area = 0;
    for (const QRect &rect : r)
        area += static_cast<qint64>(rect.width()) * rect.height();
    return area;
}

// Equal images, or where they differ.
testing::AssertionResult SamePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return testing::AssertionFailure() << "size " << a.width() << "x" << a.height() << " format " << a.format()
                                           << " against " << b.width() << "x" << b.height() << " format " << b.format();
    QRect diff;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                diff |= QRect(x, y, 1, 1);
                ++count;
            }
    if (count == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << count << " pixels differ within " << diff.x() << "," << diff.y() << " "
                                       << diff.width() << "x" << diff.height();
}

QImage ScaleWhole(SmoothScaler &scaler, const QImage &src, const QRect &from, QSize to)
{
    QImage out(to, QImage::Format_RGB32);
    scaler.Scale(src, from, out, out.rect());
    return out;
}

TEST(ViewScaler, EveryPixelTakesWeightsSummingToOneFromInsideTheSource)
{
    for (const auto &[s, d] : {std::pair{400, 100}, {400, 137}, {100, 100}, {100, 333}, {7, 1000}, {1000, 7}}) {
        const AxisFilter f(s, d);
        int lastFirst = 0;
        for (int i = 0; i < d; ++i) {
            ASSERT_GE(f.first(i), lastFirst) << s << "->" << d << " at " << i;
            ASSERT_LE(f.first(i) + f.count(i), s);
            int sum = 0;
            for (int t = 0; t < f.count(i); ++t)
                sum += f.weights(i)[t];
            ASSERT_EQ(sum, AxisFilter::kOne) << s << "->" << d << " at " << i;
            lastFirst = f.first(i);
        }
        // DstRange is exactly the pixels whose taps meet the source span.
        for (const auto &[a, b] : {std::pair{0, 1}, {s / 3, s / 3 + 2}, {s - 1, s}, {0, s}}) {
            const auto [lo, hi] = f.DstRange(a, b);
            for (int i = 0; i < d; ++i) {
                const bool meets = f.first(i) < b && f.first(i) + f.count(i) > a;
                EXPECT_EQ(meets, i >= lo && i < hi) << s << "->" << d << " [" << a << "," << b << ") at " << i;
            }
        }
    }
}

TEST(ViewScaler, FlatStaysFlatAndEqualSizesCopy)
{
    SmoothScaler scaler;
    QImage flat(300, 200, QImage::Format_RGB32);
    flat.fill(qRgb(12, 200, 77));
    for (const QSize to : {QSize(97, 61), QSize(300, 200), QSize(811, 433)}) {
        const QImage out = ScaleWhole(scaler, flat, flat.rect(), to);
        for (int y = 0; y < to.height(); y += 7)
            for (int x = 0; x < to.width(); x += 5)
                ASSERT_EQ(out.pixel(x, y), qRgb(12, 200, 77)) << to.width() << " " << x << "," << y;
    }
    const QImage noise = Noise({300, 200}, 3);
    const QRect part(40, 30, 120, 90);
    EXPECT_TRUE(SamePixels(ScaleWhole(scaler, noise, part, part.size()), noise.copy(part)));
}

TEST(ViewScaler, RescalingTheChangedRegionGivesTheWholeRescale)
{
    SmoothScaler scaler;
    std::mt19937 rng(11);
    const QImage before = Noise({400, 300}, 1);
    // (visible part, picture size): shrinking, enlarging, mixed axes, 1:1.
    const std::vector<std::pair<QRect, QSize>> views = {
        {QRect(0, 0, 400, 300), QSize(100, 75)},  {QRect(0, 0, 400, 300), QSize(148, 183)},
        {QRect(37, 21, 160, 90), QSize(272, 153)}, {QRect(50, 50, 97, 61), QSize(97, 61)},
        {QRect(10, 0, 390, 300), QSize(1300, 111)}};
    for (const auto &[from, size] : views) {
        for (int round = 0; round < 4; ++round) {
            const QRect changed(static_cast<int>(rng() % 380), static_cast<int>(rng() % 280),
                                1 + static_cast<int>(rng() % 60), 1 + static_cast<int>(rng() % 60));
            QImage after = before.copy();
            QPainter(&after).fillRect(changed, QColor::fromRgb(static_cast<QRgb>(rng())));
            QImage picture = ScaleWhole(scaler, before, from, size);
            scaler.Scale(after, from, picture, scaler.AffectedRegion(from, size, changed));
            ASSERT_TRUE(SamePixels(picture, ScaleWhole(scaler, after, from, size)))
                << "view " << from.x() << "," << from.y() << " " << size.width() << "x" << size.height()
                << " changed " << changed.x() << "," << changed.y();
        }
    }
}

// A listed-like item of any kind, as drawn while placed or dragged.
std::unique_ptr<MeasureItem> Item(MeasureKind kind, std::vector<QPoint> points, int lineWidth)
{
    auto item = NewMeasureItem();
    item->kind = kind;
    for (QPoint p : points)
        AppendPoint(*item, p);
    item->lineWidth = lineWidth;
    item->lineColor = MakeColorRef(200, 0, 0);
    item->fontSize = 16;
    item->text = "Text item";
    item->labelBox = {60, 60, 140, 84};
    return item;
}

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
        {"parallel selected", KindParallel, {{300, 200}, {700, 420}, {500, 100}, {380, 520}},
         [](MeasureItem &item, MeasureDrawOptions &o) { o.selectedItem = &item; }, 4},
        {"standard parallel selected", KindStandardParallel, {{300, 200}, {700, 420}, {500, 100}},
         [](MeasureItem &item, MeasureDrawOptions &o) { o.selectedItem = &item; }, 4},
        {"distance's new value", KindDistance2Points, {{100, 500}, {800, 60}},
         [](MeasureItem &item, MeasureDrawOptions &) { item.value = 123.25; }, 3},
        {"perpendicular's new texts", KindPerpendicular, {{100, 100}, {800, 150}, {400, 500}, {600, 400}},
         [](MeasureItem &item, MeasureDrawOptions &) {
             item.value = 7.5;
             for (SubResult &sub : item.subResults)
                 sub.text += "1";
         },
         3},
        {"polygon's point moved", KindAreaPolygon, {{100, 100}, {700, 150}, {600, 500}, {150, 450}},
         [](MeasureItem &item, MeasureDrawOptions &) { SetPointAt(&item, 2, {650, 540}); }, 0},
        {"circle's colour", KindAreaCircle, {{200, 300}, {400, 120}, {600, 300}},
         [](MeasureItem &item, MeasureDrawOptions &) { item.lineColor = MakeColorRef(0, 200, 0); }, 0},
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

// A full rebuild as before the layer existed: bars, then the whole list and
// the edit item with one painter.
QImage FullRebuild(const LayerInputs &in, MeasureItem *edit)
{
    return ViewComposer::BuildComposite(in.source, [&](QImage &c) {
        if (in.scale && in.calibration)
            DrawScaleBars(c, *in.scale, *in.calibration, in.calibrationPage ? kCalibrationPageIndex : 0);
        DrawAllMeasures(c, *in.list, edit, in.measureOptions);
    });
}

// The same, drawn from copies of the items as they are now: drawing places
// labels and derives geometry, and a composite is compared with a full
// rebuild of the state it was drawn from.
QImage FullRebuildOfCopy(const LayerInputs &in, const MeasureItem *edit)
{
    MeasureList copy;
    LayerInputs c = in;
    c.list = &copy;
    for (const auto &item : *in.list) {
        auto dup = std::make_unique<MeasureItem>(*item);
        if (in.measureOptions.selectedItem == item.get())
            c.measureOptions.selectedItem = dup.get();
        copy.Append(std::move(dup));
    }
    std::unique_ptr<MeasureItem> e = edit ? std::make_unique<MeasureItem>(*edit) : nullptr;
    if (edit && in.measureOptions.selectedItem == edit)
        c.measureOptions.selectedItem = e.get();
    return FullRebuild(c, e.get());
}

TEST(ViewComposerLayer, ReusesTheLayerOnlyWhileItsInputsStay)
{
    MeasureList list;
    for (int i = 0; i < 4; ++i) {
        auto item = Item(KindDistance2Points, {{20 + 30 * i, 30}, {60 + 30 * i, 150}}, 1 + i);
        item->value = 1.5 + i;
        item->labelBox = {};
        MeasureItem *raw = item.get();
        raw->number = list.Append(std::move(item));
    }
    auto edit = CloneMeasureItem(list.at(1));
    LayerInputs in;
    in.source = Noise({240, 180}, 5);
    in.list = &list;
    in.scale = StandardScale{};
    in.scale->show = 1;
    in.calibration = ScaleSetting{};
    in.measureOptions.selectionShown = true;
    in.measureOptions.selectedItem = &list.at(2);

    ViewComposer composer;
    QImage composite;
    QImage expected = FullRebuildOfCopy(in, edit.get());
    composer.Compose(composite, in, edit.get());
    ASSERT_TRUE(SamePixels(composite, expected));
    // The document places the selected item's label: the next drawing draws
    // from the placed label, in full.
    for (const auto &item : list)
        ApplyLabelLayout(*item, in.measureOptions);
    SetPointAt(edit.get(), 0, {200, 170});
    expected = FullRebuildOfCopy(in, edit.get());
    EXPECT_FALSE(composer.ComposeEdit(composite, in, edit.get()));
    EXPECT_TRUE(SamePixels(composite, expected));

    SetPointAt(edit.get(), 0, {190, 20});
    expected = FullRebuildOfCopy(in, edit.get());
    EXPECT_TRUE(composer.ComposeEdit(composite, in, edit.get()));
    EXPECT_TRUE(SamePixels(composite, expected));
    // The edit item gone: its pixels come back from the layer.
    expected = FullRebuildOfCopy(in, nullptr);
    EXPECT_TRUE(composer.ComposeEdit(composite, in, nullptr));
    EXPECT_TRUE(SamePixels(composite, expected));
    EXPECT_TRUE(composer.editArea().isEmpty());

    // Each change of what the layer shows makes the next edit pass a full one.
    const std::vector<std::function<void()>> changes = {
        [&] { list.at(0).lineColor = MakeColorRef(0, 0, 255); },
        [&] { in.measureOptions.selectedItem = edit.get(); },
        [&] { in.measureOptions.labelMode = LabelMode::ItemNumberOnly; },
        [&] { in.scale->position = {40, 90}; },
        [&] { in.calibrationPage = true; },
        [&] { in.calibration->hStart = {30, 120}; },
        [&] { list.Remove(&list.at(3)); },
        [&] { in.source = Noise({240, 180}, 6); },
    };
    int step = 0;
    for (const auto &change : changes) {
        SCOPED_TRACE(step++);
        change();
        SetPointAt(edit.get(), 1, {10 + 20 * step, 100});
        expected = FullRebuildOfCopy(in, edit.get());
        EXPECT_FALSE(composer.ComposeEdit(composite, in, edit.get()));
        EXPECT_TRUE(SamePixels(composite, expected));
        SetPointAt(edit.get(), 1, {15 + 20 * step, 110});
        expected = FullRebuildOfCopy(in, edit.get());
        EXPECT_TRUE(composer.ComposeEdit(composite, in, edit.get()));
        EXPECT_TRUE(SamePixels(composite, expected));
    }
    // A composite changed elsewhere is not patched either.
    composite.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_FALSE(composer.ComposeEdit(composite, in, edit.get()));
    EXPECT_TRUE(SamePixels(composite, FullRebuildOfCopy(in, edit.get())));
}

// Many overlapping items of every kind, lines across the image among them.
void FillCrowdedList(MeasureList &list, QSize size, std::mt19937 &rng)
{
    const std::vector<MeasureKind> kinds = {KindDistance2Points, KindParallel,   KindAreaPolygon,
                                            KindStandardParallel, KindText,      KindAreaCircle,
                                            KindPerpendicular,   KindAngle3Points, KindDistanceArc};
    auto coord = [&](int range) { return static_cast<int>(rng() % static_cast<unsigned>(range)); };
    for (int i = 0; i < 36; ++i) {
        const MeasureKind kind = kinds[static_cast<std::size_t>(i) % kinds.size()];
        const int n = PointCountForKind(kind) > 0 ? PointCountForKind(kind) : 4;
        std::vector<QPoint> points;
        for (int k = 0; k < n; ++k)
            points.push_back({20 + coord(size.width() - 40), 20 + coord(size.height() - 40)});
        auto item = Item(kind, points, 1 + i % 3);
        item->labelBox = {};
        item->value = 0.5 * i;
        item->backMode = i % 2;
        item->lineColor = MakeColorRef(static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()), 40);
        MeasureItem *raw = item.get();
        raw->number = list.Append(std::move(item));
        raw->row = i;
    }
}

// Selections, presses, drags merged into their items and label moves patch
// the layer; every composite is the full rebuild's, and so is a picture made
// after several compositions.
TEST(ViewComposerPatch, ChangedItemsRedrawnInPlaceGiveTheFullRebuild)
{
    std::mt19937 rng(23);
    MeasureList list;
    // Large enough that the labels of every item are a small part of it.
    const QSize size(900, 640);
    FillCrowdedList(list, size, rng);
    LayerInputs in;
    in.source = Noise(size, 9);
    in.list = &list;
    in.scale = StandardScale{};
    in.scale->show = 1;
    in.calibration = ScaleSetting{};
    in.measureOptions.selectionShown = true;

    // The areas taken in one pass are each item's own.
    in.measureOptions.selectedItem = &list.at(3);
    const std::vector<PaintedArea> areas = ListedItemAreas(in.source, in);
    ASSERT_EQ(areas.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        EXPECT_TRUE(areas[i].pieces == ListedItemArea(in.source, list.at(i), in.measureOptions).pieces) << i;

    ViewComposer composer;
    ViewGeometry geo;
    geo.size = QSize(333, 250);
    geo.zoomX = geo.zoomY = 83;
    geo.imageSize = size;
    QImage composite;
    std::unique_ptr<MeasureItem> edit;
    composer.Compose(composite, in, nullptr);
    composer.ViewPicture(composite, geo);
    auto pick = [&] { return &list.at(rng() % list.size()); };
    auto somewhere = [&] {
        return QPoint(static_cast<int>(rng() % static_cast<unsigned>(size.width())),
                      static_cast<int>(rng() % static_cast<unsigned>(size.height())));
    };
    int patched = 0;
    int full = 0;
    const QSize overviewSize(97, 71);
    composer.OverviewPicture(composite, overviewSize);
    for (int round = 0; round < 72; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const MeasureItem *source = nullptr;
        switch (round % 6) {
        case 0:  // selecting from the list
            edit.reset();
            in.measureOptions.selectedItem = pick();
            break;
        case 1:  // a press: the clone is selected and drawn over the layer
            source = in.measureOptions.selectedItem;
            if (!source)
                source = pick();
            edit = CloneMeasureItem(*source);
            in.measureOptions.selectedItem = edit.get();
            break;
        case 2:  // moves of one of its points (line kinds among them)
        case 3:
            if (edit)
                SetPointAt(edit.get(), static_cast<int>(rng() % edit->points.size()), somewhere());
            break;
        case 4:  // the release merges the clone, or a label is moved
            if (MeasureItem *s = pick(); edit && round % 2 == 0) {
                s->points = edit->points;
                s->labelBox.bottom = 0;
                in.measureOptions.selectedItem = s;
            } else {
                const QPoint d = somewhere() / 4;
                s->labelBox = {d.x(), d.y(), d.x() + 60, d.y() + 20};
                in.measureOptions.selectedItem = s;
            }
            edit.reset();
            break;
        case 5:  // a new calibration: every value and unit, and the bars
            for (auto &item : list) {
                item->value = item->value * 1.37 + 0.25;
                item->unit = (item->unit + 1) % 3;
                for (SubResult &sub : item->subResults)
                    sub.text += "0";
            }
            in.calibrationPage = round % 4 == 1;
            in.calibration->hStart = {20 + round, 40 + round % 7};
            in.calibration->vStart = {60 + round % 11, 30 + round};
            in.scale->position = {30 + round, 200 - round};
            break;
        }
        const QImage expected = FullRebuildOfCopy(in, edit.get());
        const ViewComposer::Composition done = composer.Recompose(composite, in, edit.get());
        patched += done == ViewComposer::Composition::Patched;
        full += done == ViewComposer::Composition::Full;
        if (round % 6 == 5) {
            EXPECT_EQ(done, ViewComposer::Composition::Patched);
        }
        ASSERT_TRUE(SamePixels(composite, expected));
        // The pictures only every third composition: what the compositions
        // in between changed is not lost.
        if (round % 3 == 2) {
            ViewComposer fresh;
            ASSERT_TRUE(SamePixels(composer.ViewPicture(composite, geo), fresh.ViewPicture(expected, geo)));
            ASSERT_TRUE(SamePixels(composer.OverviewPicture(composite, overviewSize),
                                   fresh.OverviewPicture(expected, overviewSize)));
        }
    }
    EXPECT_GT(patched, 30);
    // The pictures are made anew only after full rebuilds.
    EXPECT_LE(composer.rescaleCount(), 1 + full);
    EXPECT_LE(composer.overviewRescaleCount(), 1 + full);
}

// The real window: pointer moves redraw only the edit item.
class ViewCacheTest : public InteractionTest {
protected:
    // A full rebuild of the window's state as it is now.
    QImage Reference()
    {
        return FullRebuildOfCopy(CompositionInputs(*dlg), dlg->document().editItem());
    }

    // Once the view has painted what it was asked to (moves repaint only the
    // changed part), the composite and what the window shows are those of a
    // full rebuild.
    void ExpectFullRebuildPixels(const char *where)
    {
        SCOPED_TRACE(where);
        // Settled first: the labels are placed before the list is drawn.
        Settle();
        const QImage reference = Reference();
        ASSERT_TRUE(SamePixels((*dlg->parts().composite), reference));
        ViewComposer fresh;
        const QImage picture = fresh.ViewPicture(reference, dlg->host().view());
        // The window's own pixels, as last flushed.
        const QPoint at = view->mapTo(dlg.get(), QPoint(0, 0));
        const QImage shown = view->screen()
                                 ->grabWindow(dlg->winId(), at.x(), at.y(), picture.width(), picture.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_TRUE(SamePixels(shown, picture));
    }

    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QPoint ToView(QPoint image) const { return dlg->host().view().ImageToView(image); }

    // A drag of the given view points with checks after every move.
    void CheckedDrag(QPoint from, const std::vector<QPoint> &path, const char *where)
    {
        Hover(from);
        Press(from);
        for (QPoint p : path) {
            QTest::mouseMove(view, p);
            ExpectFullRebuildPixels(where);
        }
        Release(path.back());
        ExpectFullRebuildPixels(where);
    }
};

TEST_F(ViewCacheTest, DragsThroughTheCacheShowWhatAFullRebuildShows)
{
    dlg->host().SetZoom(170, 170);
    dlg->host().LayoutView();
    ExpectFullRebuildPixels("zoomed");
    const int before = (*dlg->parts().viewComposer).editCompositionCount();

    // Placing with rubber bands.
    UseTool(KindDistance2Points);
    Click(ToView({40, 40}));
    for (QPoint p : {QPoint(60, 50), QPoint(90, 80), QPoint(120, 70)}) {
        Hover(ToView(p));
        ExpectFullRebuildPixels("rubber band");
    }
    Click(ToView({120, 70}));
    ASSERT_EQ(list().size(), 1u);
    ExpectFullRebuildPixels("distance placed");
    MeasureItem *distance = &list().at(0);
    Place(KindAreaPolygon, {ToView({150, 30}), ToView({200, 40}), ToView({190, 100}), ToView({140, 90})});
    Place(KindPerpendicular, {ToView({20, 150}), ToView({140, 160}), ToView({60, 200}), ToView({100, 120})});
    Place(KindAreaCircle, {ToView({220, 150}), ToView({260, 120}), ToView({290, 170})});
    ASSERT_EQ(list().size(), 4u);
    ExpectFullRebuildPixels("four placed");

    // A point drag and a move of the selected circle, then of the distance.
    CheckedDrag(ToView({220, 150}), {ToView({215, 160}), ToView({205, 175}), ToView({210, 190})}, "point drag");
    EXPECT_EQ(list().at(3).points[0].pos, QPoint(210, 190));
    listView()->setFocus();
    QTest::mouseClick(listView()->viewport(), Qt::LeftButton, {}, RowCenter(distance->row));
    ExpectFullRebuildPixels("selected from the list");
    CheckedDrag(ToView({80, 55}), {ToView({85, 60}), ToView({95, 75})}, "move");

    // An attribute of the selected item, the calibration, the standard scale,
    // the label mode: each followed by a drag.
    dlg->parts().optionTab->controls().transparent->click();
    CheckedDrag(ToView(distance->points[1].pos), {ToView({150, 80}), ToView({160, 95})}, "after attribute");
    dlg->parts().calibTab->EndHorizontalBarDrag(QPoint(10, 10), 25);
    dlg->parts().calibTab->controls().show->click();
    CheckedDrag(ToView(distance->points[1].pos), {ToView({140, 85}), ToView({135, 90})}, "after calibration");
    dlg->parts().optionTab->ChooseLabelMode(LabelMode::ItemNumberOnly);
    CheckedDrag(ToView(distance->points[0].pos), {ToView({45, 45}), ToView({50, 35})}, "after label mode");

    // A change nobody announced, in the middle of a drag, still reaches the view.
    Hover(ToView(distance->points[0].pos));
    Press(ToView(distance->points[0].pos));
    QTest::mouseMove(view, ToView({52, 38}));
    ExpectFullRebuildPixels("drag before the change");
    list().at(1).lineColor = MakeColorRef(0, 160, 0);
    QTest::mouseMove(view, ToView({55, 36}));
    ExpectFullRebuildPixels("unannounced change");
    Release(ToView({55, 36}));

    // Shrunk view, and a save taken in the middle of a drag.
    dlg->host().SetZoom(60, 60);
    dlg->host().LayoutView();
    Hover(ToView(distance->points[0].pos));
    Press(ToView(distance->points[0].pos));
    QTest::mouseMove(view, ToView({70, 20}));
    ExpectFullRebuildPixels("shrunk");
    QTest::mouseMove(view, ToView({75, 25}));
    const QImage saved = Reference();
    dlg->EnsureComposite();
    EXPECT_TRUE(SamePixels((*dlg->parts().composite), saved));
    Release(ToView({75, 25}));
    ExpectFullRebuildPixels("released");

    // The moves above went through the layer, not around it.
    EXPECT_GE((*dlg->parts().viewComposer).editCompositionCount() - before, 10);
    EXPECT_GT((*dlg->parts().viewComposer).partialRescaleCount(), 0);
}

// Selecting, pressing and releasing patch the layer; several moves before one
// paint, lines across the image, a label move and the overview after a drag.
// A paint reads the document and changes none of its items, even when it
// comes before the queued composition that places the labels.
TEST_F(ViewCacheTest, PaintingChangesNoItem)
{
    std::vector<MeasureItem *> items;
    const std::vector<std::pair<MeasureKind, std::vector<QPoint>>> placed = {
        {KindDistance2Points, {{40, 60}, {160, 200}}},
        {KindPerpendicular, {{20, 200}, {280, 200}, {100, 100}, {200, 150}}},
        {KindAngle3Points, {{160, 60}, {100, 60}, {100, 120}}},
    };
    for (const auto &[kind, points] : placed) {
        auto item = Item(kind, points, 2);
        item->labelBox = {};
        MeasureItem *raw = item.get();
        raw->number = list().Append(std::move(item));
        dlg->document().ComputeValue(*raw);
        dlg->document().results().AddMeasureRows(*raw);
        items.push_back(raw);
    }
    MeasureDocument &doc = dlg->document();
    struct Case {
        const char *what;
        std::function<void()> change;
    };
    const std::vector<Case> cases = {
        {"an unplaced label selected", [&] { doc.SelectItem(items[0]); }},
        {"point labels back at their points",
         [&] {
             items[1]->labelBox = {};
             for (SubResult &sub : items[1]->subResults)
                 sub.labelBox = {};
         }},
        {"a moved label selected",
         [&] {
             items[2]->labelBox = {120, 30, 180, -1};
             doc.SelectItem(items[2]);
         }},
        {"the selection shown again",
         [&] {
             doc.SelectItem(items[0]);
             items[0]->labelBox = {};
             dlg->host().SelectTab(TabScale);
             Settle();
             dlg->host().SelectTab(TabMeasure);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Settle();
        c.change();
        dlg->host().RebuildView();
        std::vector<MeasureItem> before;
        for (MeasureItem *item : items)
            before.push_back(*item);
        view->repaint();
        bool placedNow = false;
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_TRUE(SameForDrawing(*items[i], before[i])) << i;
        // The queued composition places the labels and shows them.
        ExpectFullRebuildPixels(c.what);
        for (std::size_t i = 0; i < items.size(); ++i)
            placedNow = placedNow || !SameForDrawing(*items[i], before[i]);
        EXPECT_TRUE(placedNow);
    }
}

TEST_F(ViewCacheTest, PatchedSelectionsAndDragsShowWhatAFullRebuildShows)
{
    dlg->host().SetZoom(400, 400);
    dlg->host().LayoutView();
    ASSERT_TRUE(dlg->parts().overviewShown);
    std::mt19937 rng(5);
    const std::vector<std::pair<MeasureKind, std::vector<QPoint>>> placed = {
        {KindParallel, {{30, 40}, {200, 70}, {120, 150}}},
        {KindDistance2Points, {{40, 60}, {160, 200}}},
        {KindStandardParallel, {{20, 120}, {190, 100}, {90, 30}}},
        {KindAreaPolygon, {{60, 30}, {180, 50}, {150, 180}, {70, 160}}},
    };
    std::vector<MeasureItem *> items;
    for (const auto &[kind, points] : placed) {
        auto item = Item(kind, points, 2);
        item->labelBox = {};
        MeasureItem *raw = item.get();
        raw->number = list().Append(std::move(item));
        dlg->document().ComputeValue(*raw);
        dlg->document().results().AddMeasureRows(*raw);
        items.push_back(raw);
    }
    dlg->host().RebuildView();
    ExpectFullRebuildPixels("listed");
    const int patchesBefore = (*dlg->parts().viewComposer).patchCount();
    auto select = [&](MeasureItem *item) {
        dlg->document().results().SelectRow(item->row);
        dlg->commands().OnListClick();
        ExpectFullRebuildPixels("selected");
    };
    // A press and three moves before a single paint, then the release.
    auto drag = [&](QPoint from, const char *where) {
        Hover(ToView(from));
        Press(ToView(from));
        ExpectFullRebuildPixels("pressed");
        for (int k = 0; k < 3; ++k)
            QTest::mouseMove(view, ToView(from + QPoint(static_cast<int>(rng() % 30), static_cast<int>(rng() % 30))));
        ExpectFullRebuildPixels(where);
        QTest::mouseMove(view, ToView(from + QPoint(7, 9)));
        Release(ToView(from + QPoint(7, 9)));
        ExpectFullRebuildPixels(where);
    };
    for (MeasureItem *item : items)
        select(item);
    select(items[0]);
    drag(items[0]->points[0].pos, "parallel's point");
    EXPECT_EQ(items[0]->points[0].pos, QPoint(37, 49));
    select(items[2]);
    drag(items[2]->points[1].pos, "standard parallel's point");
    EXPECT_EQ(items[2]->points[1].pos, QPoint(197, 109));
    select(items[3]);
    drag(items[3]->points[2].pos, "polygon's point");
    select(items[1]);
    const LabelBox box = items[1]->labelBox;
    ASSERT_GT(box.bottom, 0);
    drag(QPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2), "label");
    EXPECT_EQ(items[1]->labelBox.left, box.left + 7);
    ClearSelection(ToView({230, 230}));
    ExpectFullRebuildPixels("cleared");
    EXPECT_GE((*dlg->parts().viewComposer).patchCount() - patchesBefore, 10);

    // The overview shows the composite (just found to be the full rebuild's)
    // as it is after the drags, and after a drag's moves before its release.
    auto expectOverview = [&](const char *where) {
        SCOPED_TRACE(where);
        const QImage overview = dlg->parts().scrollDlg->picture();
        ASSERT_FALSE(overview.isNull());
        ViewComposer fresh;
        EXPECT_TRUE(SamePixels(overview, fresh.OverviewPicture((*dlg->parts().composite), overview.size())));
    };
    expectOverview("after the drags");
    select(items[0]);
    Hover(ToView(items[0]->points[2].pos));
    Press(ToView(items[0]->points[2].pos));
    QTest::mouseMove(view, ToView(items[0]->points[2].pos + QPoint(12, -20)));
    QTest::mouseMove(view, ToView(items[0]->points[2].pos + QPoint(25, -31)));
    ExpectFullRebuildPixels("parallel dragged");
    expectOverview("while dragging");
    Release(ToView(items[0]->points[2].pos + QPoint(25, -31)));

    // A new calibration: new values in every label and new bars.
    dlg->parts().calibTab->EndHorizontalBarDrag(QPoint(10, 10), 37);
    ExpectFullRebuildPixels("calibrated");
    expectOverview("calibrated");
}

}  // namespace
}  // namespace orv::test
