// Calibration drags on the Scale page through the image view, and through
// the handlers alone onto the document.
#include "tests/app/interaction/interaction_fixture.h"

#include <functional>

#include <QLineEdit>
#include <QRadioButton>

#include "observed_document.h"

#include "app/interaction/calib_drag_handler.h"
#include "app/interaction/pointer_interaction.h"
#include "app/pages/scale/scale_page.h"
#include "document/calibration_edit.h"
#include "document/document_history.h"
#include "tests/app/interaction/fake_interaction_view.h"

namespace orv::test {
namespace {

class CalibDragTest : public InteractionTest {
protected:
    void SetUp() override
    {
        InteractionTest::SetUp();
        if (HasFatalFailure())
            return;
        mainWindow->host().SelectTab(PageScale);
        ASSERT_EQ(mainWindow->host().currentTab(), PageScale);
        calib = PartsOf(*mainWindow).scalePage;
        ASSERT_NE(calib, nullptr);
    }

    QString HPixelField() const { return calib->controls().hPixel->text(); }

    ScalePage *calib = nullptr;
};

// Default bars: horizontal (10, 10)-(110, 10), vertical (10, 10)-(10, 110).

TEST_F(CalibDragTest, BarEndDraggedShorterThanFiveStopsAtFive)
{
    // A measurement of 60 pixels: 60 um under 100 pixels = 100 um.
    mainWindow->host().SelectTab(PageMeasure);
    MeasureItem *item = Place(KindDistance2Points, {{40, 100}, {100, 100}});
    ASSERT_NE(item, nullptr);
    ASSERT_DOUBLE_EQ(item->value, 60.0);
    mainWindow->host().SelectTab(PageScale);

    Hover({110, 10});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeHorCursor);
    Press({110, 10});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::HBarEnd);
    QTest::mouseMove(view, {60, 12});
    EXPECT_EQ(HPixelField(), QStringLiteral("50")) << "the length shows while dragging";
    // The provisional bar is drawn over the view: its end tick at x = 60.
    const QImage shown = view->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(60, 14)), QColor(Qt::black));
    QTest::mouseMove(view, {13, 12});
    EXPECT_EQ(HPixelField(), QStringLiteral("5"));
    Release({13, 12});

    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    EXPECT_FALSE(mainWindow->pointer().hasRememberedCursor());
    EXPECT_EQ(view->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(calib->scaleSetting().hPixel, "5");
    EXPECT_EQ(calib->horizontalBar().points[1].pos, QPoint(15, 10));
    // Values follow the new calibration: 60 pixels at 20 um each.
    EXPECT_DOUBLE_EQ(item->value, 1200.0);
}

TEST_F(CalibDragTest, VerticalEndUnderSyncSetsBothPixelCounts)
{
    calib->controls().sync->click();
    ASSERT_EQ(calib->scaleSetting().link, 0);
    Hover({10, 110});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeVerCursor);
    Drag({10, 110}, {12, 160});
    EXPECT_EQ(calib->scaleSetting().vPixel, "150");
    EXPECT_EQ(calib->scaleSetting().hPixel, "150");
    EXPECT_EQ(calib->verticalBar().points[1].pos, QPoint(10, 160));
    EXPECT_EQ(calib->horizontalBar().points[1].pos, QPoint(160, 10));
}

TEST_F(CalibDragTest, BodyMoveAtZoom200ConvertsBackToImagePixels)
{
    mainWindow->host().SetZoom(200, 200);
    mainWindow->host().LayoutView();
    // The horizontal bar is at view (20, 20)-(220, 20).
    Hover({120, 20});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor);
    Drag({120, 20}, {160, 80});
    EXPECT_EQ(calib->scaleSetting().hStart, QPoint(30, 40));
    EXPECT_EQ(calib->horizontalBar().points[0].pos, QPoint(30, 40));
    EXPECT_EQ(calib->horizontalBar().points[1].pos, QPoint(130, 40));
    EXPECT_EQ(calib->scaleSetting().hPixel, "100") << "a body move keeps the length";
}

TEST_F(CalibDragTest, StandardScaleStaysBelowTheTopEdge)
{
    // The standard scale answers even while hidden: (20, 20) to (220, 20).
    Hover({150, 21});
    ASSERT_EQ(mainWindow->pointer().rememberedCursor(), Qt::SizeAllCursor);
    Drag({150, 21}, {170, 2});
    EXPECT_EQ(calib->standardScale().position, QPoint(40, 8));
    // Nothing under the pointer: no cursor, and a press does nothing.
    Hover({250, 150});
    EXPECT_FALSE(mainWindow->pointer().hasRememberedCursor());
    Press({250, 150});
    EXPECT_EQ(mainWindow->pointer().dragMode(), DragMode::Idle);
    Release({250, 150});
}

// A release hands the drag to the document: no page, no widget.
TEST(CalibDragOnTheDocument, EachDragEndsAsOneStepInImagePixels)
{
    struct Case {
        const char *name;
        int zoom;
        QPoint from;  // view pixels
        QPoint to;
        DragMode mode;
        std::function<void(const Calibration &)> check;
        int shownLength;  // the last provisional length, view pixels; 0: none
    };
    // Default bars (10, 10)-(110, 10) and (10, 10)-(10, 110); standard
    // scale (20, 20)-(220, 20); a view of 320 x 240.
    const Case cases[] = {
        {"a bar end shortened", 100, {110, 10}, {60, 12}, DragMode::HBarEnd,
         [](const Calibration &c) {
             EXPECT_EQ(c.setting.hPixel, "50");
             EXPECT_EQ(c.bars.horizontal.points.at(1).pos, QPoint(60, 10));
         },
         50},
        {"a bar end stopping at the view's edge", 100, {110, 10}, {320, 10}, DragMode::HBarEnd,
         [](const Calibration &c) { EXPECT_EQ(c.setting.hPixel, "309"); }, 309},
        {"a bar end to the view's bottom at half size", 50, {5, 55}, {5, 240}, DragMode::VBarEnd,
         // Its label stays in view: 240 - 1 - 5 - the font's 16, twice in image pixels.
         [](const Calibration &c) { EXPECT_EQ(c.setting.vPixel, "436"); }, 218},
        {"a bar body at double size", 200, {120, 20}, {160, 80}, DragMode::HBar,
         [](const Calibration &c) {
             EXPECT_EQ(c.setting.hStart, QPoint(30, 40));
             EXPECT_EQ(c.setting.hPixel, "100");
         },
         0},
        {"the standard scale to the top", 100, {150, 21}, {170, 2}, DragMode::StandardScale,
         [](const Calibration &c) { EXPECT_EQ(c.standard.position, QPoint(40, 8)); }, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MeasureDocument doc(Language::English, Language::English);
        doc.SetImage(QImage(640, 480, QImage::Format_RGB32), ImageOrigin::File);
        Calibration &calibration = doc.editCalibration();
        calibration.setting = ScaleSetting::Defaults(Language::English);
        calibration.bars = CalibrationBars::Build(calibration.setting);
        calibration.standard = StandardScale::Defaults(Language::English, calibration.setting);
        doc.ClearHistory();
        FakeInteractionView view;
        view.page = PageScale;
        view.geo.zoomX = view.geo.zoomY = c.zoom;
        PointerInteraction pointer(doc, view);
        int shown = 0;
        QObject::connect(&doc.calibrationEdit(), &CalibrationEdit::dragLengthChanged,
                         [&shown](int, int length) { shown = length; });
        const Observed before = Observe(doc);

        pointer.move(c.from);
        pointer.press(c.from);
        EXPECT_EQ(view.mode, c.mode);
        pointer.move(c.to);
        pointer.release(c.to);

        EXPECT_EQ(view.mode, DragMode::Idle);
        c.check(doc.calibration());
        EXPECT_EQ(shown, c.shownLength);
        EXPECT_EQ(doc.history().stack().count(), 1);
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(Observe(doc), before);
    }
}

TEST(CalibDragLimits, EachModeKeepsTheBarInTheView)
{
    const QSize view(300, 200);
    // Standard scale: left end 0 .. 300 - 1 - length; top strictly between 7 and 192.
    EXPECT_EQ(LimitCalibDrag(DragMode::StandardScale, {20, 20}, 100, {-50, -13}, view, 16).offset, QPoint(-20, -12));
    EXPECT_EQ(LimitCalibDrag(DragMode::StandardScale, {20, 20}, 100, {500, 300}, view, 16).offset, QPoint(179, 172));
    EXPECT_EQ(LimitCalibDrag(DragMode::StandardScale, {20, 20}, 100, {0, -12}, view, 16).offset, QPoint(0, -12))
        << "8 is allowed";
    // Horizontal body: y within 8 .. 192.
    EXPECT_EQ(LimitCalibDrag(DragMode::HBar, {10, 10}, 100, {0, 500}, view, 16).offset, QPoint(0, 182));
    // Vertical body: top 0 or more, bottom plus font size within 199; x within 8 .. 292.
    EXPECT_EQ(LimitCalibDrag(DragMode::VBar, {10, 10}, 100, {-20, 200}, view, 16).offset, QPoint(-2, 73));
    EXPECT_EQ(LimitCalibDrag(DragMode::VBar, {10, 10}, 100, {500, -50}, view, 16).offset, QPoint(282, -10));
    // Bar ends: at least 5, at most to the view's edge.
    EXPECT_EQ(LimitCalibDrag(DragMode::HBarEnd, {10, 10}, 100, {-97, 0}, view, 16).length, 5);
    EXPECT_EQ(LimitCalibDrag(DragMode::HBarEnd, {10, 10}, 100, {900, 0}, view, 16).length, 289);
    EXPECT_EQ(LimitCalibDrag(DragMode::VBarEnd, {10, 10}, 100, {0, 900}, view, 16).length, 173);
    EXPECT_EQ(LimitCalibDrag(DragMode::VBarEnd, {10, 10}, 100, {0, -300}, view, 16).length, 5);
}

}  // namespace
}  // namespace orv::test
