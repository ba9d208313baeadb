// The Scale page inside the main window: a calibration change recomputes the
// listed values and recomposes the view; hit tests go through the view mapping.
#include <cmath>

#include <QDir>
#include <QImage>
#include <QTest>

#include "document/measure_document.h"
#include "export/results_table.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/app/pages/scale/scale_page_fixture.h"

namespace orv::test {
namespace {

class ScalePageWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Make("en", "en", {1280, 1024});
        ASSERT_NE(PartsOf(*mainWindow).scalePage, nullptr);
        ASSERT_TRUE(LoadFilled(QStringLiteral("still.png"), {400, 300}, Qt::gray));
    }

    ScalePage &page() { return *PartsOf(*mainWindow).scalePage; }
    const ScalePageControls &ui() { return page().controls(); }

    // A listed two-point distance from (0, 0) to (30, 40).
    MeasureItem &AddDistance()
    {
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, QPoint(0, 0));
        AppendPoint(*item, QPoint(30, 40));
        MeasureItem &ref = *item;
        ref.number = mainWindow->document().list().Append(std::move(item));
        page().ComputeMeasureValue(ref);
        mainWindow->document().results().AddMeasureRows(ref);
        return ref;
    }

    std::string ValueText(const MeasureItem &item, int column = ColumnValue)
    {
        return mainWindow->document().results().text(item.row, column);
    }
};

TEST_F(ScalePageWindowTest, ImageLoadEnablesThePageWithSaveOff)
{
    EXPECT_TRUE(ui().hValue->isEnabled());
    EXPECT_TRUE(ui().scaleFileList->isEnabled());
    EXPECT_FALSE(ui().saveButton->isEnabled());
    EXPECT_EQ(page().owner(), &mainWindow->host());
}

TEST_F(ScalePageWindowTest, CommittedScaleRecomputesListedValues)
{
    MeasureItem &item = AddDistance();
    EXPECT_EQ(ValueText(item), "50.00");
    EXPECT_EQ(ValueText(item, ColumnUnit), "um");

    mainWindow->host().setViewState(ViewState::UpToDate);
    Retype(ui().hValue, "200");
    // Typed texts already count for a value computed now.
    MeasureItem probe = item;
    page().ComputeMeasureValue(probe);
    EXPECT_NEAR(probe.value, std::sqrt(60.0 * 60.0 + 40.0 * 40.0), 1e-9);
    EXPECT_EQ(ValueText(item), "50.00");

    QTest::keyClick(ui().hValue, Qt::Key_Return);
    EXPECT_EQ(ValueText(item), "72.11");
    EXPECT_EQ(mainWindow->host().viewState(), ViewState::Rebuild);
    EXPECT_TRUE(ui().saveButton->isEnabled());

    // A unit choice rewrites the unit column.
    Choose(ui().unit, 0);
    EXPECT_EQ(ValueText(item, ColumnUnit), "mm");

    // A bar drag end under Sync: both axes 25 px = 200 mm.
    QTest::mouseClick(ui().sync, Qt::LeftButton);
    mainWindow->document().calibrationEdit().EndHorizontalBarDrag(QPoint(10, 10), 25);
    EXPECT_EQ(page().scaleSetting().vPixel, "25");
    EXPECT_EQ(ValueText(item), "400.00");
}

TEST_F(ScalePageWindowTest, EscapeAndEnterInTheFieldsCommitWithoutEndingTheWindow)
{
    mainWindow->show();
    mainWindow->host().SelectTab(PageScale);
    ASSERT_EQ(mainWindow->host().currentTab(), PageScale);
    Retype(ui().hValue, "40");
    QTest::keyClick(ui().hValue, Qt::Key_Escape);
    EXPECT_EQ(page().scaleSetting().hValue, "40");
    Retype(ui().vValue, "30");
    QTest::keyClick(ui().vValue, Qt::Key_Return);
    EXPECT_EQ(page().scaleSetting().vValue, "30");
    EXPECT_TRUE(mainWindow->isVisible());
    EXPECT_TRUE(ui().saveButton->isEnabled());
}

TEST_F(ScalePageWindowTest, ChoosingTheDefaultEntryRecomputesToo)
{
    MeasureItem &item = AddDistance();
    mainWindow->document().calibrationEdit().EndVerticalBarDrag(QPoint(10, 10), 50);
    // 30 px across at 1 um, 40 px down at 2 um: sqrt(900 + 6400).
    EXPECT_EQ(ValueText(item), "85.44");
    Choose(ui().scaleFileList, 0);
    EXPECT_EQ(ValueText(item), "50.00");
}

TEST_F(ScalePageWindowTest, HitTestMapsViewPointsThroughZoomAndScroll)
{
    mainWindow->host().zoom().layout().zoomX = 200;
    mainWindow->host().zoom().layout().zoomY = 200;
    mainWindow->host().zoom().layout().scroll = QPoint(100, 0);
    // View (120, 20) is image (110, 10): the horizontal bar's end.
    ScaleBarHit hit = mainWindow->document().calibrationEdit().HitTestView(QPoint(120, 20));
    EXPECT_EQ(hit.bar, &page().horizontalBar());
    EXPECT_EQ(hit.grip, GripHBarEnd);
    // View (50, 20) is image (75, 10): on the horizontal bar's body.
    EXPECT_EQ(mainWindow->document().calibrationEdit().HitTestView(QPoint(50, 20)).grip, GripHBarBody);
    // View (-80, 20) is image (10, 10): the shared corner.
    EXPECT_FALSE(mainWindow->document().calibrationEdit().HitTestView(QPoint(-80, 20)));
}

// The value fields keep a text field's editing keys; only characters a
// number cannot hold are refused. Each case starts from "12.5" with the
// caret after "12"; the keys come through the window.
TEST_F(ScalePageWindowTest, ValueFieldsKeepTheUsualEditingKeys)
{
    struct Case {
        const char *name;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char *text;
        int cursor;  // -1: not checked (a refused key commits the field)
        const char *selected;
    };
    const Case cases[] = {
        {"Home", Qt::Key_Home, {}, "12.5", 0, ""},
        {"End", Qt::Key_End, {}, "12.5", 4, ""},
        {"Shift+Home", Qt::Key_Home, Qt::ShiftModifier, "12.5", 0, "12"},
        {"Shift+End", Qt::Key_End, Qt::ShiftModifier, "12.5", 4, ".5"},
        {"Ctrl+A", Qt::Key_A, Qt::ControlModifier, "12.5", 4, "12.5"},
        {"Shift+Left", Qt::Key_Left, Qt::ShiftModifier, "12.5", 1, "2"},
        {"Left", Qt::Key_Left, {}, "12.5", 1, ""},
        {"Backspace", Qt::Key_Backspace, {}, "1.5", 1, ""},
        {"Delete", Qt::Key_Delete, {}, "125", 2, ""},
        {"7", Qt::Key_7, {}, "127.5", 3, ""},
        {"a letter", Qt::Key_A, {}, "12.5", -1, ""},
        {"a minus", Qt::Key_Minus, {}, "12.5", -1, ""},
    };
    mainWindow->show();
    mainWindow->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainWindow.get()));
    mainWindow->host().SelectTab(PageScale);
    for (QLineEdit *field : {ui().hValue, ui().vValue, ui().standardLength}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << field->objectName().toStdString() << ": " << c.name);
            field->setFocus();
            ASSERT_TRUE(field->hasFocus());
            field->setText(QStringLiteral("12.5"));
            field->setCursorPosition(2);
            QTest::keyClick(mainWindow->windowHandle(), c.key, c.mods);
            EXPECT_EQ(field->text(), c.text);
            if (c.cursor >= 0) {
                EXPECT_EQ(field->cursorPosition(), c.cursor);
            }
            EXPECT_EQ(field->selectedText(), c.selected);
        }
    }
}

// Background colour of a field where its right-aligned number does not reach.
QRgb Background(QLineEdit *field)
{
    const QImage shot = field->grab().toImage();
    return shot.pixel(6, shot.height() / 2);
}

// The pixel counts come from the bars: their fields take no typing and do
// not look as if they did.
TEST_F(ScalePageWindowTest, PixelFieldsLookReadOnly)
{
    mainWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    mainWindow->host().SelectTab(PageScale);
    for (QLineEdit *pixel : {ui().hPixel, ui().vPixel}) {
        SCOPED_TRACE(pixel->objectName().toStdString());
        EXPECT_TRUE(pixel->isReadOnly());
        EXPECT_NE(Background(pixel), Background(ui().hValue));
        EXPECT_NE(Background(pixel), Background(ui().standardLength));
        const QString before = pixel->text();
        pixel->setFocus();
        QTest::keyClick(mainWindow->windowHandle(), Qt::Key_5);
        EXPECT_EQ(pixel->text(), before);
    }
}

}  // namespace
}  // namespace orv::test
