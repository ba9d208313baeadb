// "From Ruler..." on the Scale page inside the main window: a drawn ruler is
// found, its ticks are shown, Accept sets the scale the ruler lies along as
// one undoable step and every listed value follows.
#include <cmath>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QTest>

#include "app/pages/scale/ruler_dialog.h"
#include "calib/ruler_finder.h"
#include "core/number_reading.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "synthetic_ruler.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/app/pages/scale/scale_page_fixture.h"

namespace orv::test {
namespace {

class RulerDialogTest : public MainWindowTest {
protected:
    void Open(const char *lang, const QImage &image)
    {
        Make(lang, lang, {1280, 1024});
        const QString path = dir.filePath(QStringLiteral("ruler.png"));
        ASSERT_TRUE(image.save(path));
        mainWindow->LoadImageFile(path);
        ASSERT_TRUE(mainWindow->hasImage());
    }

    static QImage Ruler(double angle)
    {
        SyntheticRuler r;
        r.pitch = 12.37;
        r.ticks = 60;
        r.angleDeg = angle;
        r.format = RulerFormat::Png;
        return r.draw(9);
    }

    ScalePage &page() { return *PartsOf(*mainWindow).scalePage; }
    const ScalePageControls &ui() { return page().controls(); }

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

    // By id: undo puts copies of the items back.
    std::string ValueText(ItemId id)
    {
        const MeasureItem *now = mainWindow->document().Find(id);
        return now ? mainWindow->document().results().text(now->row, ColumnValue) : std::string("<gone>");
    }

    // The distance (30, 40) under the page's calibration, as the list shows it.
    std::string ExpectedDistance()
    {
        const ScaleSetting &s = page().scaleSetting();
        const double fx = ReadDecimal(s.hValue) / ReadDecimal(s.hPixel);
        const double fy = ReadDecimal(s.vValue) / ReadDecimal(s.vPixel);
        return QString::number(std::hypot(30.0 * fx, 40.0 * fy), 'f', 2).toStdString();
    }

    // The dialog as the user works it: types the division, finds, accepts.
    void AcceptWith(const QString &spacing, int unitIndex)
    {
        prompter.whileDialogOpen = [=, this](QDialog &d) {
            auto &dialog = dynamic_cast<RulerDialog &>(d);
            const RulerDialogControls &c = dialog.controls();
            Retype(c.spacing, spacing);
            c.unit->setCurrentIndex(unitIndex);
            QTest::mouseClick(c.find, Qt::LeftButton);
            found = dialog.rulerResult();
            // Red strokes over the ticks, none halfway between them.
            auto reddish = [&](QPointF at) {
                const QColor px = dialog.overlay().pixelColor(at.toPoint());
                return px.red() - px.green() > 100;
            };
            shownTicks = 0;
            for (std::size_t i = 0; i < found.tickPositions.size(); ++i) {
                const QPointF t = found.tickPositions[i];
                shownTicks += reddish(t) ? 1 : 0;
                if (i > 0)
                    shownTicks -= reddish(0.5 * (t + found.tickPositions[i - 1])) ? 1 : 0;
            }
            QTest::mouseClick(c.buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        };
        QTest::mouseClick(ui().fromRuler, Qt::LeftButton);
    }

    RulerResult found;
    int shownTicks = 0;
};

TEST_F(RulerDialogTest, AcceptSetsTheScaleAlongTheRulerAsOneUndoableStep)
{
    Open("en", Ruler(2.0));
    QTest::mouseClick(ui().async, Qt::LeftButton);
    const ItemId item = AddDistance().id;
    const ScaleSetting before = page().scaleSetting();
    const std::string valueBefore = ValueText(item);

    AcceptWith(QStringLiteral("10"), 1);
    ASSERT_EQ(prompter.dialogRequests, 1);
    ASSERT_TRUE(found.found());
    EXPECT_EQ(shownTicks, found.ticks);
    EXPECT_TRUE(prompter.messages.empty());

    // The horizontal scale: the fitted span of divisions, in pixels and in um.
    const ScaleSetting &after = page().scaleSetting();
    EXPECT_NEAR(ReadDecimal(after.hPixel) / found.span(), 12.37, 12.37 * 5e-4);
    EXPECT_DOUBLE_EQ(ReadDecimal(after.hValue), 10.0 * found.span());
    EXPECT_NEAR(after.hPixelU, found.uPixelsPerDivision * found.span(), 1e-12);
    EXPECT_GT(after.hPixelU, 0.0);
    EXPECT_EQ(after.vPixel, before.vPixel);
    EXPECT_EQ(after.vValue, before.vValue);
    EXPECT_EQ(ui().hPixel->text().toStdString(), after.hPixel);
    EXPECT_EQ(ui().hValue->text().toStdString(), after.hValue);
    EXPECT_EQ(ValueText(item), ExpectedDistance());
    EXPECT_NE(ValueText(item), valueBefore);

    ASSERT_TRUE(mainWindow->document().Undo());
    EXPECT_EQ(page().scaleSetting(), before);
    EXPECT_EQ(ui().hPixel->text().toStdString(), before.hPixel);
    EXPECT_EQ(ValueText(item), valueBefore);
}

TEST_F(RulerDialogTest, UnderSyncAVerticalRulerSetsBothScales)
{
    Open("en", Ruler(90.0 - 4.0));
    QTest::mouseClick(ui().sync, Qt::LeftButton);
    const ItemId item = AddDistance().id;
    AcceptWith(QStringLiteral("0.01"), 0);
    ASSERT_TRUE(found.found());
    const ScaleSetting &s = page().scaleSetting();
    EXPECT_EQ(s.unit, "mm");
    EXPECT_EQ(s.hPixel, s.vPixel);
    EXPECT_EQ(s.hValue, s.vValue);
    EXPECT_NEAR(ReadDecimal(s.vPixel) / found.span(), 12.37, 12.37 * 5e-4);
    EXPECT_GT(s.vPixelU, 0.0);
    EXPECT_EQ(ValueText(item), ExpectedDistance());
}

TEST_F(RulerDialogTest, NoRulerSaysSoAndChangesNothing)
{
    Open("ja", DrawBlank(400, 300, 3));
    const ScaleSetting before = page().scaleSetting();
    bool acceptable = true;
    prompter.whileDialogOpen = [&](QDialog &d) {
        auto &dialog = dynamic_cast<RulerDialog &>(d);
        QTest::mouseClick(dialog.controls().find, Qt::LeftButton);
        acceptable = dialog.controls().buttons->button(QDialogButtonBox::Ok)->isEnabled();
        QTest::mouseClick(dialog.controls().buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
    };
    QTest::mouseClick(ui().fromRuler, Qt::LeftButton);
    EXPECT_FALSE(acceptable);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.startsWith(QStringLiteral("定規が見つかりません"))) << prompter.messages[0].text.toStdString();
    EXPECT_EQ(page().scaleSetting(), before);
    EXPECT_FALSE(mainWindow->document().Undo());
}

TEST_F(RulerDialogTest, ADragAlongTheRulerOnThePreviewFindsItThere)
{
    const QImage image = Ruler(-5.0);
    Open("en", image);
    const RulerResult whole = RulerFinder().find(image);
    ASSERT_TRUE(whole.found());
    QString line;
    prompter.whileDialogOpen = [&](QDialog &d) {
        auto &dialog = dynamic_cast<RulerDialog &>(d);
        QLabel *preview = dialog.controls().preview;
        const double k = static_cast<double>(preview->width()) / image.width();
        const QPoint a = (whole.tickPositions.front() * k).toPoint();
        const QPoint b = (whole.tickPositions.back() * k).toPoint();
        QTest::mousePress(preview, Qt::LeftButton, {}, a);
        QTest::mouseMove(preview, (a + b) / 2);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, b);
        line = dialog.controls().line->text();
        found = dialog.rulerResult();
    };
    QTest::mouseClick(ui().fromRuler, Qt::LeftButton);
    EXPECT_EQ(line.split(QLatin1Char(',')).size(), 4);
    ASSERT_TRUE(found.found()) << line.toStdString();
    EXPECT_NEAR(found.pixelsPerDivision, 12.37, 12.37 * 5e-4);
    // Cancelled: nothing changed.
    EXPECT_FALSE(mainWindow->document().Undo());
}

}  // namespace
}  // namespace orv::test
