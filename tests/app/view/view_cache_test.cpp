// The real window's view caches: pointer moves redraw only the edit item, and
// what the window shows is a full rebuild's picture.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QPainter>
#include <QScreen>

#include <functional>
#include <random>

#include "app/mainwindow/composition_inputs.h"
#include "app/pages/options/options_page.h"
#include "app/pages/scale/scale_page.h"
#include "app/view/overview_window.h"
#include "calib/scale_bars.h"
#include "measure/render/draw_measures.h"
#include "measure/render/label_layout.h"
#include "tests/app/interaction/interaction_fixture.h"
#include "tests/view/view_test_support.h"
#include "view/painted_bounds.h"
#include "view/view_composer.h"
#include "view/view_layer.h"
#include "view/view_scaler.h"

namespace orv::test {
namespace {

// The real window: pointer moves redraw only the edit item.
class ViewCacheTest : public InteractionTest {
protected:
    // A full rebuild of the window's state as it is now.
    QImage Reference() { return FullRebuildOfCopy(CompositionInputs(*mainWindow), mainWindow->document().editItem()); }

    // Once the view has painted what it was asked to (moves repaint only the
    // changed part), the composite and what the window shows are those of a
    // full rebuild.
    void ExpectFullRebuildPixels(const char *where)
    {
        SCOPED_TRACE(where);
        // Settled first: the labels are placed before the list is drawn.
        Settle();
        const QImage reference = Reference();
        ASSERT_TRUE(SamePixels(mainWindow->composite(), reference));
        ViewComposer fresh;
        const QImage picture = fresh.ViewPicture(reference, mainWindow->host().view());
        // The window's own pixels, as last flushed.
        const QPoint at = view->mapTo(mainWindow.get(), QPoint(0, 0));
        const QImage shown = view->screen()
                                 ->grabWindow(mainWindow->winId(), at.x(), at.y(), picture.width(), picture.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_TRUE(SamePixels(shown, picture));
    }

    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QPoint ToView(QPoint image) const { return mainWindow->host().view().ImageToView(image); }

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
    mainWindow->host().SetZoom(170, 170);
    mainWindow->host().LayoutView();
    ExpectFullRebuildPixels("zoomed");
    const int before = mainWindow->composer().editCompositionCount();

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
    PartsOf(*mainWindow).optionsPage->controls().transparent->click();
    CheckedDrag(ToView(distance->points[1].pos), {ToView({150, 80}), ToView({160, 95})}, "after attribute");
    mainWindow->document().calibrationEdit().EndHorizontalBarDrag(QPoint(10, 10), 25);
    PartsOf(*mainWindow).scalePage->controls().show->click();
    CheckedDrag(ToView(distance->points[1].pos), {ToView({140, 85}), ToView({135, 90})}, "after calibration");
    PartsOf(*mainWindow).optionsPage->ChooseLabelMode(LabelMode::ItemNumberOnly);
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
    mainWindow->host().SetZoom(60, 60);
    mainWindow->host().LayoutView();
    Hover(ToView(distance->points[0].pos));
    Press(ToView(distance->points[0].pos));
    QTest::mouseMove(view, ToView({70, 20}));
    ExpectFullRebuildPixels("shrunk");
    QTest::mouseMove(view, ToView({75, 25}));
    const QImage saved = Reference();
    mainWindow->EnsureComposite();
    EXPECT_TRUE(SamePixels(mainWindow->composite(), saved));
    Release(ToView({75, 25}));
    ExpectFullRebuildPixels("released");

    // The moves above went through the layer, not around it.
    EXPECT_GE(mainWindow->composer().editCompositionCount() - before, 10);
    EXPECT_GT(mainWindow->composer().partialRescaleCount(), 0);
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
        mainWindow->document().ComputeValue(*raw);
        mainWindow->document().results().AddMeasureRows(*raw);
        items.push_back(raw);
    }
    MeasureDocument &doc = mainWindow->document();
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
             mainWindow->host().SelectTab(PageScale);
             Settle();
             mainWindow->host().SelectTab(PageMeasure);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Settle();
        c.change();
        mainWindow->host().RebuildView();
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
    mainWindow->host().SetZoom(400, 400);
    mainWindow->host().LayoutView();
    ASSERT_TRUE(PartsOf(*mainWindow).overviewShown);
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
        mainWindow->document().ComputeValue(*raw);
        mainWindow->document().results().AddMeasureRows(*raw);
        items.push_back(raw);
    }
    mainWindow->host().RebuildView();
    ExpectFullRebuildPixels("listed");
    const int patchesBefore = mainWindow->composer().patchCount();
    auto select = [&](MeasureItem *item) {
        mainWindow->document().results().SelectRow(item->row);
        mainWindow->commands().OnListClick();
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
    EXPECT_GE(mainWindow->composer().patchCount() - patchesBefore, 10);

    // The overview shows the composite (just found to be the full rebuild's)
    // as it is after the drags, and after a drag's moves before its release.
    auto expectOverview = [&](const char *where) {
        SCOPED_TRACE(where);
        const QImage overview = PartsOf(*mainWindow).overview->picture();
        ASSERT_FALSE(overview.isNull());
        ViewComposer fresh;
        EXPECT_TRUE(SamePixels(overview, fresh.OverviewPicture(mainWindow->composite(), overview.size())));
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
    mainWindow->document().calibrationEdit().EndHorizontalBarDrag(QPoint(10, 10), 37);
    ExpectFullRebuildPixels("calibrated");
    expectOverview("calibrated");
}

}  // namespace
}  // namespace orv::test
