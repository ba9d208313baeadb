// Measuring on the live picture in the main window, on the test-pattern
// camera: the still's measurements over the frames, a live distance placed
// with the mouse through the window system and carried into the capture, and
// an overlay from another frame size scaled by the calibrations.
#include <QCheckBox>
#include <QFile>
#include <QComboBox>
#include <QPushButton>

#include <cmath>

#include "app/pages/image/image_page.h"
#include "app/pages/image/live_measuring.h"
#include "app/pages/image/live_view.h"
#include "calib/camera_scale_index.h"
#include "capture/camera/camera_devices.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/app/pages/image/test_camera_variable.h"

namespace orv::test {
namespace {

class LiveMeasuringWindow : public MainWindowTest {
protected:
    ImagePage &Image() { return *PartsOf(*mainWindow).imagePage; }
    LiveView &Live() { return *qobject_cast<LiveView *>(mainWindow->host().liveView()); }
    LiveMeasuring &Measuring() { return *Image().liveMeasuring(); }
    MeasureDocument &Doc() { return mainWindow->document(); }

    void Show()
    {
        mainWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
    }

    bool LiveWithPicture()
    {
        auto *capture = Image().findChild<QPushButton *>("button1001");
        if (!QTest::qWaitFor([&] { return Image().cameraState() == 1 && capture->isEnabled(); }, 10000))
            return false;
        return QTest::qWaitFor([this] { return Live().mapping().valid(); }, 5000);
    }

    void ChooseLiveTool(MeasureKind kind)
    {
        auto *tool = Image().findChild<QComboBox *>("liveTool");
        tool->setCurrentIndex(tool->findData(int(kind)));
    }

    // Pointer input on the live view, through the window system.
    QPoint InWindow(QPoint viewPos) { return Live().mapTo(mainWindow.get(), viewPos); }
    void Move(QPoint p) { QTest::mouseMove(mainWindow->windowHandle(), InWindow(p)); }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        Move(p);
        QTest::mouseClick(mainWindow->windowHandle(), button, {}, InWindow(p));
    }
    // A distance as the Measure page takes it: a click at each end.
    void PlaceDistance(QPoint a, QPoint b)
    {
        Click(a);
        Move((a + b) / 2);
        Click(b);
    }

    // The painted live picture.
    QImage Painted() { return Live().grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // Pixels of colour c within r of p.
    static int ColourNear(const QImage &img, QPoint p, QColor c, int r = 1)
    {
        int n = 0;
        for (int y = p.y() - r; y <= p.y() + r; ++y)
            for (int x = p.x() - r; x <= p.x() + r; ++x)
                n += img.rect().contains(x, y) && img.pixelColor(x, y) == c;
        return n;
    }

    // A red distance measured on the still, as a step (unsaved work).
    QColor AddStillDistance(QPoint a, QPoint b)
    {
        MeasureList list;
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, a);
        AppendPoint(*item, b);
        item->lineWidth = 1;
        item->fontSize = 16;
        item->lineColor = MakeColorRef(255, 0, 0);
        list.Append(std::move(item));
        EXPECT_EQ(Doc().AppendCopies(list), 1);
        return QColor(255, 0, 0);
    }

    void Capture()
    {
        QTest::mouseClick(Image().findChild<QPushButton *>("button1001"), Qt::LeftButton);
        ASSERT_EQ(Image().cameraState(), 2);
        mainWindow->host().SelectTab(PageScale);
        ASSERT_TRUE(mainWindow->hasImage());
    }
};

TEST_F(LiveMeasuringWindow, ALiveDistanceIsCarriedIntoTheCaptureWithItsPointsAndValue)
{
    TestCameraVariable camera("smpte:1920x1080");
    Make();
    Show();
    ASSERT_TRUE(LiveWithPicture());
    // 16:9 in the 640 x 480 view: a third of the frame's size, bars above and below.
    ASSERT_EQ(Live().mapping().shown, QRect(0, 60, 640, 360));
    ChooseLiveTool(KindDistance2Points);

    // Each view pixel stands for 3 x 3 frame pixels; the centre's one is taken.
    PlaceDistance({100, 150}, {500, 300});
    const MeasureList &live = Measuring().liveItems();
    ASSERT_EQ(live.size(), 1u);
    const MeasureItem &placed = live.at(0);
    ASSERT_EQ(placed.points.size(), 2u);
    EXPECT_EQ(placed.points[0].pos, QPoint(301, 271));
    EXPECT_EQ(placed.points[1].pos, QPoint(1501, 721));
    const double liveValue = placed.value;
    EXPECT_GT(liveValue, 0.0);
    // Drawn on the picture where it was placed.
    EXPECT_GT(ColourNear(Painted(), {300, 225}, ToQColor(placed.lineColor)), 0);

    Capture();
    ASSERT_EQ(Doc().image().size(), QSize(1920, 1080));
    ASSERT_EQ(Doc().list().size(), 1u);
    const MeasureItem &still = Doc().list().at(0);
    EXPECT_EQ(still.kind, KindDistance2Points);
    EXPECT_EQ(still.points[0].pos, QPoint(301, 271));
    EXPECT_EQ(still.points[1].pos, QPoint(1501, 721));
    EXPECT_EQ(still.number, 1);
    EXPECT_DOUBLE_EQ(still.value, liveValue);
    // The same points measured on the still give the same value.
    auto again = CloneMeasureItem(still);
    Doc().ComputeValue(*again);
    EXPECT_DOUBLE_EQ(again->value, liveValue);
    EXPECT_EQ(Cell(0, 0), "1");
    EXPECT_TRUE(Measuring().liveItems().empty());

    // One step: undone it goes, redone it is back.
    ASSERT_TRUE(Doc().Undo());
    EXPECT_TRUE(Doc().list().empty());
    ASSERT_TRUE(Doc().Redo());
    EXPECT_EQ(Doc().list().size(), 1u);
}

TEST_F(LiveMeasuringWindow, RightClickRemovesTheLiveMeasurementUnderThePointer)
{
    TestCameraVariable camera("smpte:640x480");
    Make();
    Show();
    ASSERT_TRUE(LiveWithPicture());
    ChooseLiveTool(KindDistance2Points);
    PlaceDistance({100, 100}, {300, 100});
    PlaceDistance({100, 300}, {300, 300});
    ASSERT_EQ(Measuring().liveItems().size(), 2u);

    // The first, not the one placed last (and selected): asked, then removed.
    prompter.answers.push_back(UiPrompter::Answer::Yes);
    Click({200, 100}, Qt::RightButton);
    ASSERT_EQ(Measuring().liveItems().size(), 1u);
    EXPECT_EQ(Measuring().liveItems().at(0).points[0].pos, QPoint(100, 300));
    // Answered No, it stays.
    prompter.answers.push_back(UiPrompter::Answer::No);
    Click({200, 300}, Qt::RightButton);
    EXPECT_EQ(Measuring().liveItems().size(), 1u);
}

TEST_F(LiveMeasuringWindow, TheStillsMeasurementsAreDrawnOverTheLivePictureWhenAsked)
{
    TestCameraVariable camera("smpte:640x480");
    Make();
    Show();
    ASSERT_TRUE(LiveWithPicture());
    Capture();
    const QColor red = AddStillDistance({100, 200}, {500, 200});
    prompter.answers.push_back(UiPrompter::Answer::Discard);
    mainWindow->host().SelectTab(PageImage);
    ASSERT_FALSE(mainWindow->hasImage());
    ASSERT_TRUE(LiveWithPicture());

    auto *overlay = Image().findChild<QCheckBox *>("liveOverlay");
    EXPECT_EQ(ColourNear(Painted(), {300, 200}, red), 0);
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(5, overlay->height() / 2));
    ASSERT_TRUE(overlay->isChecked());
    // The same camera at the same size: pixel for pixel, nothing to note.
    EXPECT_DOUBLE_EQ(Measuring().stillToFrameX(), 1.0);
    EXPECT_TRUE(Measuring().note().isEmpty());
    const QImage on = Painted();
    EXPECT_GT(ColourNear(on, {300, 200}, red), 0);
    EXPECT_GT(ColourNear(on, {450, 200}, red), 0);
    // A frozen frame keeps it.
    QTest::mouseClick(Image().findChild<QPushButton *>("button1030"), Qt::LeftButton);
    ASSERT_EQ(Image().cameraState(), 2);
    EXPECT_GT(ColourNear(Painted(), {300, 200}, red), 0);
    QTest::mouseClick(overlay, Qt::LeftButton, {}, QPoint(5, overlay->height() / 2));
    EXPECT_EQ(ColourNear(Painted(), {300, 200}, red), 0);
}

TEST_F(LiveMeasuringWindow, AStillOfAnotherSizeIsScaledByTheCalibrationsAndNoted)
{
    // The camera's frames: 2 um a pixel by the scale file remembered for them.
    TestCameraVariable camera("smpte:640x480");
    {
        QFile f(dir.filePath("cam.sst"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[HScale]\r\npixel=50\r\nvalue=100\r\nunit=um\r\n[VScale]\r\npixel=50\r\nvalue=100\r\nunit=um\r\n");
    }
    CameraScaleIndex index;
    index.setScaleFor(QLatin1String(kTestCameraName), {640, 480}, "cam");
    ASSERT_TRUE(index.Save(dir.path()));
    // The still: an image file at 1 um a pixel (100 px = 100 um).
    Make();
    Show();
    mainWindow->LoadImageFile(WriteImage("still.png", {800, 600}));
    ASSERT_TRUE(mainWindow->hasImage());
    mainWindow->host().SelectTab(PageScale);
    Calibration &c = Doc().editCalibration();
    c.setting.hPixel = c.setting.vPixel = "100";
    c.setting.hValue = c.setting.vValue = "100";
    Doc().CalibrationEdited();
    const QColor red = AddStillDistance({200, 100}, {600, 100});
    prompter.answers.push_back(UiPrompter::Answer::Discard);
    mainWindow->host().SelectTab(PageImage);
    ASSERT_TRUE(LiveWithPicture());

    EXPECT_DOUBLE_EQ(Measuring().stillToFrameX(), 0.5);
    EXPECT_DOUBLE_EQ(Measuring().stillToFrameY(), 0.5);
    EXPECT_TRUE(Measuring().note().contains("x0.50")) << Measuring().note().toStdString();
    const QImage off = Painted();
    auto *overlay = Image().findChild<QCheckBox *>("liveOverlay");
    overlay->setChecked(true);
    const QImage on = Painted();
    // 400 still pixels are 200 frame pixels: the line runs from x 100 to 300 at
    // y 50 (its label covers the start), not where the unscaled one would.
    EXPECT_GT(ColourNear(on, {270, 50}, red), 0);
    EXPECT_EQ(ColourNear(on, {500, 100}, red), ColourNear(off, {500, 100}, red));
    // The note is written at the picture's foot.
    const QRect foot(0, 440, 640, 40);
    int changed = 0;
    for (int y = foot.top(); y <= foot.bottom(); ++y)
        for (int x = foot.left(); x <= foot.right(); ++x)
            changed += on.pixel(x, y) != off.pixel(x, y);
    EXPECT_GT(changed, 50);
}

// Each live kind with the Measure page's clicks, carried into one capture.
TEST_F(LiveMeasuringWindow, EachLiveKindIsPlacedWithItsClicksAndCarriedIntoTheCapture)
{
    struct Case {
        MeasureKind kind;
        std::vector<QPoint> clicks;  // view pixels; frame = view at 640 x 480
    };
    const std::vector<Case> cases = {
        {KindDistance2Points, {{50, 50}, {150, 90}}},
        {KindAreaCircle, {{300, 100}, {400, 200}, {300, 300}}},
        {KindAngle2Lines, {{100, 300}, {250, 300}, {100, 320}, {250, 420}}},
    };
    TestCameraVariable camera("smpte:640x480");
    Make();
    Show();
    ASSERT_TRUE(LiveWithPicture());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.kind);
        ChooseLiveTool(c.kind);
        for (QPoint p : c.clicks)
            Click(p);
        Move({620, 20});
    }
    ASSERT_EQ(Measuring().liveItems().size(), cases.size());
    std::vector<double> liveValues;
    for (const auto &item : Measuring().liveItems())
        liveValues.push_back(item->value);

    Capture();
    ASSERT_EQ(Doc().list().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const MeasureItem &item = Doc().list().at(i);
        EXPECT_EQ(item.kind, cases[i].kind);
        ASSERT_EQ(item.points.size(), cases[i].clicks.size());
        for (std::size_t k = 0; k < item.points.size(); ++k)
            EXPECT_EQ(item.points[k].pos, cases[i].clicks[k]);
        EXPECT_GT(liveValues[i], 0.0);
        EXPECT_DOUBLE_EQ(item.value, liveValues[i]);
        EXPECT_EQ(item.number, int(i) + 1);
    }
    // The circle's centre and the lines' vertex came out where the clicks put them.
    EXPECT_EQ(Doc().list().at(1).center, QPoint(300, 200));
    EXPECT_NEAR(Doc().list().at(2).value, std::atan(100.0 / 150.0) * 180.0 / M_PI, 1e-9);
}

}  // namespace
}  // namespace orv::test
