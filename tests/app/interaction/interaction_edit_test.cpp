// Editing placed measurements with the mouse and from the results list.
#include "tests/app/interaction/interaction_fixture.h"

#include <QSignalSpy>

namespace orv::test {
namespace {

using Points = std::vector<QPoint>;

QPoint CentreOf(const LabelBox &b)
{
    return QPoint((b.left + b.right) / 2, (b.top + b.bottom) / 2);
}

LabelBox Shifted(LabelBox b, QPoint d)
{
    return {b.left + d.x(), b.top + d.y(), b.right + d.x(), b.bottom + d.y()};
}

class EditTest : public InteractionTest {
protected:
    // Base line at y = 200, measured points C (100, 100) and D (200, 150).
    MeasureItem *PlacePerpendicular()
    {
        MeasureItem *item = Place(KindPerpendicular, {{20, 200}, {280, 200}, {100, 100}, {200, 150}});
        Paint();
        return item;
    }
};

TEST_F(EditTest, MovingTheItemByItsStrokeMovesPointsAndLabelButNotTheValue)
{
    MeasureItem *item = Place(KindDistance2Points, {{100, 40}, {260, 40}});
    ASSERT_NE(item, nullptr);
    Paint();
    const LabelBox box = item->labelBox;
    ASSERT_GT(box.bottom, 0);
    const double value = item->value;

    Hover({250, 40});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor);
    Press({250, 40});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Measure);
    QTest::mouseMove(view, {260, 70});
    // The clone follows, the source stays until the release.
    ASSERT_NE(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(Positions(*mainWindow->document().editItem()), Points({{110, 70}, {270, 70}}));
    EXPECT_EQ(Positions(*item), Points({{100, 40}, {260, 40}}));
    EXPECT_EQ(mainWindow->document().selectedItem(), mainWindow->document().editItem());
    Release({260, 70});

    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    EXPECT_EQ(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(mainWindow->document().selectedItem(), item);
    EXPECT_EQ(Positions(*item), Points({{110, 70}, {270, 70}}));
    EXPECT_EQ(item->labelBox, Shifted(box, {10, 30}));
    EXPECT_DOUBLE_EQ(item->value, value);
    EXPECT_EQ(list().size(), 1u);
}

TEST_F(EditTest, DraggingTheLabelMovesOnlyItsBox)
{
    MeasureItem *item = Place(KindAngle3Points, {{160, 60}, {100, 60}, {100, 120}});
    ASSERT_NE(item, nullptr);
    Paint();
    const LabelBox box = item->labelBox;
    ASSERT_GT(box.bottom, 0);
    const QPoint grab = CentreOf(box);
    Hover(grab);
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor);
    Drag(grab, grab + QPoint(15, 50));
    EXPECT_EQ(item->labelBox, Shifted(box, {15, 50}));
    EXPECT_EQ(Positions(*item), Points({{160, 60}, {100, 60}, {100, 120}}));
    EXPECT_DOUBLE_EQ(item->value, 90.0);
    EXPECT_EQ(mainWindow->document().selectedItem(), item);
}

TEST_F(EditTest, DraggingASubResultLabelMovesThatLabelOnly)
{
    MeasureItem *item = PlacePerpendicular();
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->subResults.size(), 2u);
    const LabelBox first = item->subResults[0].labelBox;
    const LabelBox second = item->subResults[1].labelBox;
    ASSERT_GT(first.bottom, 0);
    const std::string text = item->subResults[0].text;

    const QPoint grab = CentreOf(first);
    Hover(grab);
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor);
    Drag(grab, grab + QPoint(20, -30));
    const LabelBox moved = item->subResults[0].labelBox;
    EXPECT_EQ(moved.left, first.left + 20);
    EXPECT_EQ(moved.top, first.top - 30);
    EXPECT_EQ(moved.right, first.right + 20);
    EXPECT_EQ(moved.bottom, -1) << "re-measured at the next drawing";
    EXPECT_EQ(item->subResults[1].labelBox, second);
    EXPECT_EQ(item->subResults[0].text, text);
    EXPECT_EQ(Positions(*item), Points({{20, 200}, {280, 200}, {100, 100}, {200, 150}}));
    Paint();
    EXPECT_EQ(item->subResults[0].labelBox.left, first.left + 20);
    EXPECT_GT(item->subResults[0].labelBox.bottom, 0);
}

TEST_F(EditTest, DraggingAPerpendicularPointRecomputesFromTheNewFoot)
{
    MeasureItem *item = PlacePerpendicular();
    ASSERT_NE(item, nullptr);
    ASSERT_NE(item->subResults[1].text.find("50.00"), std::string::npos);
    Hover({200, 150});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeFDiagCursor);
    // No paint between the last move and the release.
    Drag({200, 150}, {230, 120});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    EXPECT_EQ(mainWindow->document().selectedItem(), item);
    EXPECT_EQ(item->points[3].pos, QPoint(230, 120));
    EXPECT_EQ(item->points[3].foot, QPoint(230, 200));
    EXPECT_EQ(item->subResults[1].pos, QPoint(230, 120));
    EXPECT_NE(item->subResults[1].text.find("80.00"), std::string::npos) << item->subResults[1].text;
    EXPECT_EQ(item->subResults[1].labelBox.bottom, 0) << "back to its anchor";
    EXPECT_EQ(item->labelBox.bottom, 0);
    // The rows follow, and the item's main row is selected again.
    EXPECT_EQ(rows().text(item->row + 2, 0), "1_2");
    EXPECT_EQ(QString::fromStdString(rows().text(item->row + 2, 2)), QString::fromStdString(item->subResults[1].text));
    EXPECT_EQ(rows().selectedRow(), item->row);
}

TEST_F(EditTest, RightClickOverTheSelectionAsksBeforeDeleting)
{
    MeasureItem *first = Place(KindDistance2Points, {{40, 40}, {240, 40}});
    ClearSelection();
    MeasureItem *second = Place(KindDistance2Points, {{40, 120}, {240, 120}});
    ASSERT_TRUE(first && second);
    Paint();
    Hover({220, 120});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor);

    prompter.answers.push_back(UiPrompter::Answer::No);
    RightClick({220, 120});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Delete this measurement result ?"));
    EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::YesNo);
    EXPECT_EQ(list().size(), 2u);

    prompter.answers.push_back(UiPrompter::Answer::Yes);
    Hover({221, 120});
    RightClick({221, 120});
    ASSERT_EQ(list().size(), 1u);
    EXPECT_EQ(&list().at(0), first);
    EXPECT_EQ(rows().rowCount(), 1);
    // The last item went: the first one is selected next.
    EXPECT_EQ(mainWindow->document().selectedItem(), first);
}

TEST_F(EditTest, RightClickElsewhereClearsTheSelection)
{
    MeasureItem *item = Place(KindDistance2Points, {{40, 40}, {240, 40}});
    ASSERT_EQ(mainWindow->document().selectedItem(), item);
    Hover({150, 200});
    EXPECT_EQ(mainWindow->pointer().rememberedCursor(), Qt::ArrowCursor);
    RightClick({150, 200});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(mainWindow->document().selectedItem(), nullptr);
    EXPECT_EQ(list().size(), 1u);
    // Nothing is selected: the stroke is no longer a grip.
    Hover({150, 40});
    EXPECT_EQ(mainWindow->pointer().rememberedCursor(), Qt::ArrowCursor);
}

// A right click on empty image renumbers only a list that is out of step:
// an ordered list keeps every row untouched (no row is rewritten), while a
// list left with a gap is numbered 1..n again.
TEST_F(EditTest, RightClickElsewhereRenumbersOnlyWhatIsOutOfStep)
{
    for (const bool gap : {false, true}) {
        SCOPED_TRACE(gap ? "gap" : "in order");
        ClearSelection();
        while (!list().empty())
            rows().RemoveMeasureRows(list(), &list().at(0));
        Place(KindDistance2Points, {{40, 40}, {240, 40}});
        Place(KindDistance2Points, {{40, 80}, {240, 80}});
        Place(KindDistance2Points, {{40, 120}, {240, 120}});
        if (gap)
            list().at(1).number = 7;
        const std::vector<ResultRow> before = rows().rows();
        QSignalSpy rewritten(listView()->model(), &QAbstractItemModel::dataChanged);
        RightClick({150, 200});
        ASSERT_EQ(list().size(), 3u);
        for (std::size_t i = 0; i < list().size(); ++i) {
            EXPECT_EQ(list().at(i).number, static_cast<int>(i) + 1);
            EXPECT_EQ(rows().text(list().at(i).row, ColumnNumber), std::to_string(i + 1));
        }
        EXPECT_EQ(rewritten.isEmpty(), !gap);
        if (!gap) {
            ASSERT_EQ(rows().rowCount(), static_cast<int>(before.size()));
            for (int r = 0; r < rows().rowCount(); ++r)
                EXPECT_EQ(rows().row(r).columns, before[static_cast<std::size_t>(r)].columns) << r;
        }
    }
}

TEST_F(EditTest, ARemovedSubResultsPointCannotBeGrabbed)
{
    MeasureItem *item = PlacePerpendicular();
    ASSERT_NE(item, nullptr);
    // Right click on the row "1_2" of the list and confirm.
    ASSERT_EQ(rows().text(2, 0), "1_2");
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    QTest::mouseClick(listView()->viewport(), Qt::RightButton, {}, RowCenter(2));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(item->subResults[1].row, -1);
    EXPECT_EQ(rows().rowCount(), 2);
    EXPECT_EQ(mainWindow->document().selectedItem(), nullptr);

    // Select the item again from its main row.
    QTest::mouseClick(listView()->viewport(), Qt::LeftButton, {}, RowCenter(0));
    ASSERT_EQ(mainWindow->document().selectedItem(), item);
    Paint();
    Hover({100, 100});
    EXPECT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeFDiagCursor) << "the listed point";
    Hover({200, 150});
    EXPECT_EQ(mainWindow->pointer().rememberedCursor(), Qt::ArrowCursor) << "the removed point";
    Press({200, 150});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Placing) << "a click there starts a new measurement";
    Release({200, 150});
    RightClick({200, 150});
    EXPECT_EQ(Positions(*item), Points({{20, 200}, {280, 200}, {100, 100}, {200, 150}}));
}

TEST_F(EditTest, ListDoubleClickDuplicatesAndRightClickDeletes)
{
    MeasureItem *item = Place(KindDistance2Points, {{40, 40}, {240, 40}});
    ASSERT_NE(item, nullptr);
    // The platform's sequence: click, double click, release.
    QWidget *rowsWidget = listView()->viewport();
    QTest::mouseClick(rowsWidget, Qt::LeftButton, {}, RowCenter(0));
    QTest::mouseDClick(rowsWidget, Qt::LeftButton, {}, RowCenter(0));
    QTest::mouseRelease(rowsWidget, Qt::LeftButton, {}, RowCenter(0));
    ASSERT_EQ(list().size(), 2u);
    MeasureItem &copy = list().at(1);
    EXPECT_EQ(Positions(copy), Positions(*item)) << "the duplicate lies over its source";
    EXPECT_EQ(copy.number, 2);
    EXPECT_DOUBLE_EQ(copy.value, item->value);
    EXPECT_EQ(mainWindow->document().selectedItem(), &copy);
    EXPECT_EQ(rows().rowCount(), 2);
    EXPECT_EQ(rows().text(1, 0), "2");

    // Delete the first one from its row: the copy becomes number 1.
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    QTest::mouseClick(listView()->viewport(), Qt::RightButton, {}, RowCenter(0));
    ASSERT_EQ(list().size(), 1u);
    EXPECT_EQ(&list().at(0), &copy);
    EXPECT_EQ(copy.number, 1);
    EXPECT_EQ(rows().rowCount(), 1);
    EXPECT_EQ(rows().text(0, 0), "1");
}

}  // namespace
}  // namespace orv::test
