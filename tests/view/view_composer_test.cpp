// The composite's cached layer and patches, each against a full rebuild.
#include <gtest/gtest.h>

#include <random>

#include "measure/render/label_layout.h"
#include "view/view_scaler.h"

#include "tests/view/view_test_support.h"

namespace orv::test {
namespace {

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
        [&] {
            in.scale->position = {40, 90};
        },
        [&] { in.calibrationPage = true; },
        [&] {
            in.calibration->hStart = {30, 120};
        },
        [&] { list.Remove(&list.at(3)); },
        [&] {
            in.source = Noise({240, 180}, 6);
        },
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
    const std::vector<MeasureKind> kinds = {KindDistance2Points,  KindParallel,     KindAreaPolygon,
                                            KindStandardParallel, KindText,         KindAreaCircle,
                                            KindPerpendicular,    KindAngle3Points, KindDistanceArc};
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

}  // namespace
}  // namespace orv::test
