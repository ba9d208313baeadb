// Placing new measurements with the mouse on the real main window.
#include "tests/app/interaction/interaction_fixture.h"

#include <QComboBox>
#include <QPushButton>

#include <functional>

#include "app/pages/options/options_page.h"

namespace orv::test {
namespace {

using Points = std::vector<QPoint>;

struct KindCase {
    int kind;
    Points clicks;
};

TEST_F(InteractionTest, EveryToolPlacesItsKindByClicks)
{
    const std::vector<KindCase> cases = {
        {KindDistance2Points, {{40, 40}, {100, 40}}},
        {KindDistanceArc, {{150, 100}, {140, 130}, {114, 148}}},
        {KindDistanceCircles, {{60, 60}, {80, 80}, {60, 100}, {200, 60}, {220, 80}, {200, 100}}},
        {KindPerpendicular, {{20, 200}, {280, 200}, {100, 120}, {200, 150}}},
        {KindBrokenLine, {{30, 30}, {90, 50}, {150, 30}}},
        {KindParallel, {{20, 210}, {280, 210}, {120, 180}}},
        {KindAreaPolygon, {{30, 30}, {130, 30}, {130, 130}, {30, 130}}},
        {KindAreaCircle, {{100, 50}, {150, 100}, {100, 150}}},
        {KindAngle3Points, {{160, 60}, {100, 60}, {100, 120}}},
        {KindAngle2Lines, {{20, 20}, {120, 20}, {20, 60}, {120, 100}}},
        {KindStandardLine, {{40, 160}, {240, 160}}},
        {KindStandardParallel, {{20, 220}, {280, 220}, {150, 190}}},
        {KindAngle3PointsType2, {{160, 60}, {100, 60}, {100, 120}}},
    };
    int expectedRows = 0;
    for (const KindCase &c : cases) {
        ClearSelection();
        const std::size_t before = list().size();
        MeasureItem *item = Place(c.kind, c.clicks);
        ASSERT_EQ(list().size(), before + 1) << c.kind;
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(static_cast<int>(item->kind), c.kind);
        EXPECT_EQ(Positions(*item), c.clicks) << c.kind;
        EXPECT_EQ(item->number, static_cast<int>(list().size())) << c.kind;
        EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle) << c.kind;
        EXPECT_EQ(mainWindow->document().editItem(), nullptr) << c.kind;
        EXPECT_EQ(mainWindow->document().selectedItem(), item) << "the new item stays selected";
        EXPECT_EQ(item->lineColor, 0x000000FFu) << "current draw attributes";
        // Main row first; the perpendicular and parallel lines list one row
        // per measured point, the circle its diameter, radius and circumference.
        EXPECT_EQ(item->row, expectedRows) << c.kind;
        expectedRows += 1 + static_cast<int>(item->subResults.size());
        EXPECT_EQ(rows().rowCount(), expectedRows) << c.kind;
    }
    // Values came from the geometry (arc, feet) derived from the clicked points.
    const MeasureItem &distance = list().at(0);
    EXPECT_DOUBLE_EQ(distance.value, 60.0);
    const MeasureItem &perpendicular = list().at(3);
    ASSERT_EQ(perpendicular.subResults.size(), 2u);
    EXPECT_EQ(rows().text(perpendicular.row + 2, 0), "4_2");
    EXPECT_NE(perpendicular.subResults[1].text.find("50.00"), std::string::npos) << perpendicular.subResults[1].text;
    EXPECT_GT(list().at(1).value, 60.0) << "arc of about a quarter circle of radius 50";
    EXPECT_LT(list().at(1).value, 100.0);
}

TEST_F(InteractionTest, NewItemsTakeTheOptionPagesAttributes)
{
    // Picked on the Option page, where placing works as on the Measure page.
    mainWindow->host().SelectTab(PageOptions);
    const OptionsPageControls &ui = PartsOf(*mainWindow).optionsPage->controls();
    prompter.colors.push_back(QColor(0, 128, 255));
    ui.lineColor->click();
    emit ui.lineWidth->activated(2);
    emit ui.fontSize->activated(14);
    MeasureItem *item = Place(KindDistance2Points, {{40, 40}, {100, 40}});
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->lineColor, 0x00FF8000u);
    EXPECT_EQ(item->lineWidth, 3);
    EXPECT_EQ(item->fontSize, 30);
    EXPECT_EQ(item->fontColor, 0x00FFFF00u);
    EXPECT_EQ(item->backMode, 1u);
}

TEST_F(InteractionTest, TextToolAsksForItsText)
{
    UseTool(KindText);
    prompter.texts.push_back(QStringLiteral("Crack"));
    ClearSelection();
    Click({50, 50});
    ASSERT_EQ(list().size(), 1u);
    EXPECT_EQ(list().at(0).text, "Crack");
    EXPECT_EQ(Positions(list().at(0)), Points({{50, 50}}));
    EXPECT_EQ(prompter.textRequests, 1);

    // Cancelled, or confirmed empty: the item goes without a word.
    prompter.texts.push_back(std::nullopt);
    prompter.texts.push_back(QString());
    for (int i = 0; i < 2; ++i) {
        ClearSelection();
        Click({150, 150});
        EXPECT_EQ(list().size(), 1u);
        EXPECT_EQ(mainWindow->document().selectedItem(), nullptr);
        EXPECT_EQ(mainWindow->document().editItem(), nullptr);
        EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    }
    EXPECT_TRUE(prompter.messages.empty());

    // A long text is cut to the record's 255 bytes on a character boundary.
    prompter.texts.push_back(QString(200, QChar(0x00E9)));
    ClearSelection();
    Click({150, 150});
    ASSERT_EQ(list().size(), 2u);
    EXPECT_EQ(list().at(1).text.size(), 254u);
    EXPECT_EQ(QString::fromStdString(list().at(1).text), QString(127, QChar(0x00E9)));
}

// The text dialog runs its own event loop; a new image may arrive meanwhile.
TEST_F(InteractionTest, ANewImageWhileTheTextDialogIsOpenDropsTheItem)
{
    prompter.whileAskingText = [this] { mainWindow->LoadImageFile(dir.filePath("still.png")); };
    prompter.texts.push_back(QStringLiteral("late"));
    UseTool(KindText);
    Click({60, 60});
    prompter.whileAskingText = nullptr;
    EXPECT_TRUE(list().empty());
    EXPECT_EQ(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle) << "tab changes must not stay refused";
    // The pointer works as before.
    UseTool(KindDistance2Points);
    Click({40, 40});
    Click({90, 40});
    EXPECT_EQ(list().size(), 1u);
}

TEST_F(InteractionTest, OpenKindsEndByDoubleClickOrAreDiscardedWithTwoPoints)
{
    // Clicks at A, B, C and a double click at D: four points.
    MeasureItem *polygon = Place(KindAreaPolygon, {{30, 30}, {130, 30}, {130, 130}, {30, 130}});
    ASSERT_NE(polygon, nullptr);
    EXPECT_EQ(Positions(*polygon), Points({{30, 30}, {130, 30}, {130, 130}, {30, 130}}));
    EXPECT_DOUBLE_EQ(polygon->value, 10000.0);

    // A click and a double click: two points, discarded without a message.
    for (int kind : {KindAreaPolygon, KindBrokenLine, KindPerpendicular, KindParallel, KindStandardParallel}) {
        ClearSelection();
        UseTool(kind);
        Click({200, 40});
        EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Placing);
        DoubleClick({260, 90});
        EXPECT_EQ(list().size(), 1u) << kind;
        EXPECT_EQ(mainWindow->document().editItem(), nullptr) << kind;
        EXPECT_EQ(mainWindow->document().selectedItem(), nullptr) << kind;
        EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle) << kind;
    }
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(rows().rowCount(), 1);

    // For a kind with a fixed point count a double click is just two clicks.
    ClearSelection();
    UseTool(KindDistanceCircles);
    Click({200, 40});
    DoubleClick({260, 90});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Placing);
    ASSERT_NE(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(Positions(*mainWindow->document().editItem()), Points({{200, 40}, {260, 90}, {260, 90}, {260, 90}}));
    RightClick({260, 90});
    EXPECT_EQ(list().size(), 1u);
}

TEST_F(InteractionTest, PressDragReleaseMovesTheFirstPointAndCompletesOnTheNextClick)
{
    UseTool(KindDistance2Points);
    ClearSelection();
    Hover({40, 40});
    Press({40, 40});
    QTest::mouseMove(view, {60, 70});
    ASSERT_NE(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(Positions(*mainWindow->document().editItem()), Points({{60, 70}})) << "point 0 follows until the release";
    Release({60, 70});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Placing);
    EXPECT_EQ(Positions(*mainWindow->document().editItem()), Points({{60, 70}, {60, 70}}));
    EXPECT_TRUE(list().empty());
    Hover({200, 100});
    EXPECT_EQ(Positions(*mainWindow->document().editItem()), Points({{60, 70}, {200, 100}})) << "rubber band";
    Click({200, 100});
    ASSERT_EQ(list().size(), 1u);
    EXPECT_EQ(Positions(list().at(0)), Points({{60, 70}, {200, 100}}));
    EXPECT_EQ(list().at(0).number, 1);
}

TEST_F(InteractionTest, ZoomAndScrollMapTheClickToImagePixels)
{
    mainWindow->host().SetZoom(200, 200);
    mainWindow->host().LayoutView();
    mainWindow->host().SetScroll(QPoint(100, 0));
    UseTool(KindDistance2Points);
    Hover({50, 20});
    Press({50, 20});
    ASSERT_NE(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(mainWindow->document().editItem()->points[0].pos, QPoint(75, 10));
    Release({50, 20});
}

TEST_F(InteractionTest, RightClickCancelsPlacingWithoutAQuestion)
{
    UseTool(KindAngle3Points);
    ClearSelection();
    Click({40, 40});
    Click({100, 40});
    Hover({100, 100});
    RightClick({100, 100});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    EXPECT_EQ(mainWindow->document().editItem(), nullptr);
    EXPECT_EQ(mainWindow->document().selectedItem(), nullptr);
    EXPECT_TRUE(list().empty());
    EXPECT_EQ(rows().rowCount(), 0);
}

TEST_F(InteractionTest, OverAnUnselectedMeasurementAClickStartsANewOne)
{
    MeasureItem *first = Place(KindDistance2Points, {{40, 100}, {240, 100}});
    ASSERT_NE(first, nullptr);
    Paint();
    Hover({200, 100});
    EXPECT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor) << "selected: its stroke can be grabbed";
    ClearSelection();
    Hover({200, 100});
    EXPECT_EQ(mainWindow->pointer().rememberedCursor(), Qt::ArrowCursor);
    Press({200, 100});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Placing);
    Release({200, 100});
    Click({200, 150});
    ASSERT_EQ(list().size(), 2u);
    EXPECT_EQ(Positions(*first), Points({{40, 100}, {240, 100}}));
}

TEST_F(InteractionTest, TheImagePageAndMissingImageIgnoreThePointer)
{
    // Leaving for the image page discards the image after the question.
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    mainWindow->host().SelectTab(PageImage);
    ASSERT_FALSE(mainWindow->hasImage());
    UseTool(KindDistance2Points);
    mainWindow->pointer().move({40, 40});
    mainWindow->pointer().press({40, 40});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    EXPECT_EQ(mainWindow->document().editItem(), nullptr);
}

}  // namespace
}  // namespace orv::test
