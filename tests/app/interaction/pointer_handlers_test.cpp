// The pointer handlers on a document and a fake view: no widget anywhere.
#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "app/interaction/pointer_interaction.h"
#include "document/measure_document.h"
#include "measure/hit_test.h"
#include "tests/app/interaction/fake_interaction_view.h"

namespace orv::test {
namespace {

class PointerHandlers : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.editCalibration().setting = ScaleSetting::Defaults(Language::English);
        QImage still(320, 240, QImage::Format_RGB32);
        still.fill(Qt::white);
        doc.SetImage(still, ImageOrigin::File);
    }

    // A listed item with the points (image pixels), selected.
    MeasureItem &List(MeasureKind kind, const std::vector<QPoint> &points)
    {
        auto item = NewMeasureItem();
        item->kind = kind;
        for (QPoint p : points)
            AppendPoint(*item, p);
        doc.BeginEdit(std::move(item));
        return *doc.ListEditItem();
    }

    // The same gesture the view sends: hover, press, moves, release.
    void Drag(QPoint from, const std::vector<QPoint> &path)
    {
        pointer.move(from);
        pointer.press(from);
        for (QPoint p : path)
            pointer.move(p);
        pointer.release(path.empty() ? from : path.back());
    }

    MeasureDocument doc{Language::English, Language::English};
    FakeInteractionView view;
    PointerInteraction pointer{doc, view};
};

struct PointDragCase {
    int zoom;
    QPoint scroll;
    int index;        // the point grabbed
    QPoint grabView;  // where it shows in the view
    std::vector<QPoint> path;
    QPoint landsAt;  // image pixels
};

TEST_F(PointerHandlers, APointDragMovesTheListedPointAndRecomputesItsValue)
{
    const std::vector<PointDragCase> cases = {
        {100, {0, 0}, 1, {200, 50}, {{210, 60}, {250, 90}}, {250, 90}},
        {200, {0, 0}, 0, {100, 100}, {{140, 100}}, {70, 50}},
        {200, {60, 40}, 1, {340, 60}, {{300, 20}}, {180, 30}},
        {50, {0, 0}, 0, {25, 25}, {{30, 30}, {60, 45}}, {120, 90}},
    };
    for (const PointDragCase &c : cases) {
        doc.DeleteAll();
        view.geo.zoomX = view.geo.zoomY = c.zoom;
        view.geo.scroll = c.scroll;
        view.geo.size = {640, 480};
        MeasureItem &item = List(KindDistance2Points, {{50, 50}, {200, 50}});
        const ItemId id = item.id;
        const QPoint other = item.points[static_cast<std::size_t>(1 - c.index)].pos;
        const double before = item.value;
        view.shown.clear();
        const int rebuilds = view.rebuilds;

        pointer.move(c.grabView);
        ASSERT_EQ(view.cursor, Qt::SizeFDiagCursor) << c.zoom;
        pointer.press(c.grabView);
        EXPECT_EQ(view.mode, DragMode::Point) << c.zoom;
        ASSERT_NE(doc.editItem(), nullptr);
        EXPECT_TRUE(doc.editItemSelected());
        for (QPoint p : c.path)
            pointer.move(p);
        // Only the clone follows until the release.
        EXPECT_EQ(doc.Find(id)->points[static_cast<std::size_t>(c.index)].pos,
                  c.index == 0 ? QPoint(50, 50) : QPoint(200, 50));
        pointer.release(c.path.back());

        const MeasureItem *moved = doc.Find(id);
        ASSERT_NE(moved, nullptr) << c.zoom;
        EXPECT_EQ(moved->points[static_cast<std::size_t>(c.index)].pos, c.landsAt) << c.zoom;
        EXPECT_EQ(moved->points[static_cast<std::size_t>(1 - c.index)].pos, other) << c.zoom;
        EXPECT_NE(moved->value, before) << c.zoom;
        EXPECT_EQ(doc.editItem(), nullptr);
        EXPECT_EQ(doc.selectedId(), id);
        EXPECT_EQ(view.mode, DragMode::Idle);
        EXPECT_GT(view.rebuilds, rebuilds);
        ASSERT_FALSE(view.shown.empty());
        EXPECT_EQ(view.shown.back(), id) << "the Option page shows the moved item";
    }
}

TEST_F(PointerHandlers, ADragWhoseSourceWentAwayListsNothing)
{
    const ItemId id = List(KindDistance2Points, {{50, 50}, {200, 50}}).id;
    pointer.move({200, 50});
    pointer.press({200, 50});
    ASSERT_EQ(view.mode, DragMode::Point);
    // Something removed the source meanwhile (a question's event loop).
    doc.DeleteAll();
    pointer.move({220, 70});
    pointer.release({220, 70});
    EXPECT_EQ(doc.Find(id), nullptr);
    EXPECT_TRUE(doc.list().empty());
    EXPECT_EQ(doc.editItem(), nullptr);
    EXPECT_EQ(doc.selectedItem(), nullptr);
    EXPECT_EQ(view.mode, DragMode::Idle);
}

struct LabelMoveCase {
    LabelBox box;
    QPoint grab;
    QPoint to;
};

TEST_F(PointerHandlers, MovingALabelShiftsOnlyItsBox)
{
    const std::vector<LabelMoveCase> cases = {
        {{100, 100, 160, 120}, {130, 110}, {150, 140}},
        {{100, 100, 160, 120}, {100, 100}, {90, 95}},  // the corner counts
        {{10, 200, 40, 215}, {40, 215}, {41, 230}},
    };
    for (const LabelMoveCase &c : cases) {
        doc.DeleteAll();
        MeasureItem &item = List(KindDistance2Points, {{20, 40}, {300, 40}});
        item.labelBox = c.box;
        const ItemId id = item.id;
        const std::vector<MeasurePoint> points = item.points;
        const double value = item.value;

        Drag(c.grab, {c.to});

        const MeasureItem *moved = doc.Find(id);
        ASSERT_NE(moved, nullptr);
        const QPoint d = c.to - c.grab;
        EXPECT_EQ(moved->labelBox,
                  (LabelBox{c.box.left + d.x(), c.box.top + d.y(), c.box.right + d.x(), c.box.bottom + d.y()}))
            << c.grab.x() << "," << c.grab.y();
        ASSERT_EQ(moved->points.size(), points.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(moved->points[i].pos, points[i].pos);
        EXPECT_EQ(moved->value, value);
        EXPECT_EQ(doc.selectedId(), id);
        EXPECT_EQ(doc.editItem(), nullptr);
        EXPECT_EQ(view.mode, DragMode::Idle);
    }
}

struct PlacementCase {
    MeasureKind kind;
    std::vector<QPoint> clicks;
    std::optional<QString> text;  // the answer to the text question
    bool listed;
};

TEST_F(PointerHandlers, ClicksPlaceANewItemOfTheCurrentTool)
{
    const std::vector<PlacementCase> cases = {
        {KindDistance2Points, {{20, 20}, {120, 60}}, std::nullopt, true},
        {KindAngle3Points, {{160, 60}, {100, 60}, {100, 120}}, std::nullopt, true},
        {KindDistanceArc, {{100, 50}, {150, 100}, {100, 150}}, std::nullopt, true},
        {KindText, {{40, 40}}, QStringLiteral("note"), true},
        {KindText, {{40, 40}}, QString(), false},
        {KindText, {{40, 40}}, std::nullopt, false},
    };
    for (const PlacementCase &c : cases) {
        doc.DeleteAll();
        doc.ClearSelection();
        view.tool = c.kind;
        view.text = c.text;
        view.cursor = Qt::BlankCursor;
        ASSERT_EQ(PointCountForKind(c.kind), static_cast<int>(c.clicks.size())) << c.kind;
        const int questions = view.questions;
        for (std::size_t i = 0; i < c.clicks.size(); ++i) {
            const QPoint p = c.clicks[i];
            pointer.move(p);
            if (i == 0) {
                ASSERT_EQ(view.cursor, Qt::ArrowCursor) << c.kind;
            }
            pointer.press(p);
            pointer.release(p);
            if (i + 1 < c.clicks.size()) {
                EXPECT_EQ(view.mode, DragMode::Placing) << c.kind << " after click " << i;
            }
        }
        EXPECT_EQ(view.mode, DragMode::Idle) << c.kind;
        EXPECT_EQ(doc.editItem(), nullptr) << c.kind;
        EXPECT_EQ(view.questions - questions, c.kind == KindText ? 1 : 0);
        ASSERT_EQ(doc.list().size(), c.listed ? 1u : 0u) << c.kind;
        if (!c.listed) {
            EXPECT_EQ(doc.selectedItem(), nullptr);
            continue;
        }
        const MeasureItem &item = doc.list().at(0);
        EXPECT_EQ(item.kind, c.kind);
        EXPECT_EQ(doc.selectedId(), item.id) << "the new item stays selected";
        ASSERT_GE(item.points.size(), c.clicks.size());
        for (std::size_t i = 0; i < c.clicks.size(); ++i)
            EXPECT_EQ(item.points[i].pos, c.clicks[i]) << c.kind << " point " << i;
        if (c.text) {
            EXPECT_EQ(QString::fromStdString(item.text), *c.text);
        }
        EXPECT_EQ(item.row, 0);
        EXPECT_GT(doc.results().rowCount(), 0);
    }
}

struct EmptyClickCase {
    int page;
    ViewState state;
    bool hasImage;
    Qt::MouseButton button;
    DragMode after;
};

TEST_F(PointerHandlers, AClickOnEmptySpaceStartsPlacingOrClearsTheSelection)
{
    const std::vector<EmptyClickCase> cases = {
        {PageMeasure, ViewState::UpToDate, true, Qt::LeftButton, DragMode::Placing},
        {PageOptions, ViewState::UpToDate, true, Qt::LeftButton, DragMode::Placing},
        {PageMeasure, ViewState::UpToDate, true, Qt::RightButton, DragMode::Idle},
        {PageImage, ViewState::UpToDate, true, Qt::LeftButton, DragMode::Idle},
        {PageMeasure, ViewState::NoImage, true, Qt::LeftButton, DragMode::Idle},
        {PageMeasure, ViewState::UpToDate, false, Qt::LeftButton, DragMode::Idle},
        {PageScale, ViewState::UpToDate, true, Qt::LeftButton, DragMode::Idle},
    };
    const QPoint empty(300, 220);
    for (const EmptyClickCase &c : cases) {
        doc.DeleteAll();
        if (c.hasImage && !doc.hasImage())
            SetUp();
        const ItemId id = List(KindDistance2Points, {{20, 20}, {120, 20}}).id;
        ASSERT_EQ(doc.selectedId(), id);
        if (!c.hasImage)
            doc.DropImage();
        view.page = c.page;
        view.state = c.state;
        view.mode = DragMode::Idle;
        view.cursor = Qt::BlankCursor;

        pointer.move(empty);
        if (c.button == Qt::LeftButton)
            pointer.press(empty);
        else
            pointer.rightPress(empty);

        const bool taken = c.page != PageImage && c.state != ViewState::NoImage && c.hasImage;
        EXPECT_EQ(view.mode, c.after) << c.page << " " << int(c.state) << " " << c.hasImage;
        if (c.after == DragMode::Placing) {
            ASSERT_NE(doc.editItem(), nullptr);
            EXPECT_TRUE(doc.editItemSelected());
            EXPECT_EQ(doc.editItem()->points.at(0).pos, empty);
            pointer.rightPress(empty);  // cancels the placing
            EXPECT_EQ(doc.editItem(), nullptr);
            EXPECT_EQ(view.mode, DragMode::Idle);
        } else if (taken && c.button == Qt::RightButton) {
            EXPECT_EQ(doc.selectedItem(), nullptr) << "a right click clears the selection";
        } else {
            EXPECT_EQ(doc.editItem(), nullptr);
            EXPECT_EQ(doc.selectedId(), id) << "nothing changes";
        }
        EXPECT_EQ(doc.list().size(), 1u);
    }
}

TEST_F(PointerHandlers, ARightClickOnTheSelectionDeletesOnlyAfterYes)
{
    for (bool yes : {false, true}) {
        doc.DeleteAll();
        const ItemId keep = List(KindDistance2Points, {{20, 200}, {120, 200}}).id;
        const ItemId id = List(KindDistance2Points, {{20, 20}, {120, 20}}).id;
        view.yes = yes;
        pointer.move({70, 20});
        ASSERT_EQ(view.cursor, Qt::SizeAllCursor);
        pointer.rightPress({70, 20});
        EXPECT_EQ(doc.Find(id) != nullptr, !yes);
        EXPECT_NE(doc.Find(keep), nullptr);
        EXPECT_EQ(doc.list().size(), yes ? 1u : 2u);
    }
}

TEST_F(PointerHandlers, OnlyModesInTheTableHaveHandlers)
{
    for (int mode = 0; mode < kDragModeCount; ++mode)
        EXPECT_NE(pointer.handler(static_cast<DragMode>(mode)), nullptr) << mode;
    for (int mode : {-1, kDragModeCount})
        EXPECT_EQ(pointer.handler(static_cast<DragMode>(mode)), nullptr) << mode;
}

}  // namespace
}  // namespace orv::test
