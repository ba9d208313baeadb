// The Image page's camera half in the main window, on the test-pattern camera.
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>

#include "app/pages/image/guide_window.h"
#include "app/pages/image/image_page.h"
#include "app/pages/image/live_view.h"
#include "capture/camera/camera_devices.h"
#include "capture/camera/camera_graph.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/app/pages/image/test_camera_variable.h"

namespace orv::test {
namespace {

class ImagePageCamera : public MainWindowTest {
protected:
    ImagePage &Page() { return *PartsOf(*mainWindow).imagePage; }
    template<class W>
    W *Child(const char *name)
    {
        return Page().findChild<W *>(name);
    }
    QPushButton *Live() { return Child<QPushButton>("button1030"); }
    QPushButton *Capture() { return Child<QPushButton>("button1001"); }
    MainWindow &Make(const char *system = "en", const char *user = "en")
    {
        MainWindowTest::Make(system, user);
        ShowLaidOut(*mainWindow);
        return *mainWindow;
    }
    // Lets the open under way end; true when the camera runs live.
    bool CameraOpens()
    {
        return QTest::qWaitFor([this] { return Page().cameraState() == 1; }, 10000);
    }

    // Waits until the live view has painted a frame.
    bool WaitForPicture()
    {
        auto *view = qobject_cast<LiveView *>(mainWindow->host().liveView());
        QElapsedTimer t;
        t.start();
        while (view && view->picture().isNull() && t.elapsed() < 5000)
            QTest::qWait(20);
        return view && !view->picture().isNull();
    }

    QByteArray WorkFile() const
    {
        QFile f(PartsOf(*mainWindow).imagePage->workFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(ImagePageCamera, NoCameraLeavesTheControlsDisabledAndTheWindowNarrow)
{
    TestCameraVariable none(nullptr);
    Make();
    EXPECT_EQ(Page().defaultCameraIndex(), -1);
    EXPECT_EQ(Page().cameraState(), 0);
    for (const char *name : {"button1030", "button1001", "button1003", "button1004", "button1005"})
        EXPECT_FALSE(Child<QWidget>(name)->isEnabled()) << name;
    EXPECT_FALSE(Child<QComboBox>("combo1007")->isEnabled());
    EXPECT_FALSE(Child<QCheckBox>("check1016")->isEnabled());
    EXPECT_EQ(mainWindow->host().windowSizeRequested().width(), mainWindow->host().columnWidth());
    EXPECT_FALSE(mainWindow->host().liveView()->isVisibleTo(mainWindow.get()));
    // The Live button does nothing without a camera.
    Page().OnLiveToggle();
    EXPECT_EQ(Page().cameraState(), 0);
    EXPECT_FALSE(Live()->isChecked());
}

TEST_F(ImagePageCamera, StartUpOpensTheTestCameraBesideTheColumnAndToggleFreezes)
{
    TestCameraVariable camera("smpte");
    Make();
    ASSERT_TRUE(CameraOpens());
    EXPECT_EQ(Child<QComboBox>("combo1007")->currentText(), QLatin1String(kTestCameraName));
    EXPECT_EQ(Child<QWidget>("static1029")->property("text").toString(), QStringLiteral("640 x 480"));
    EXPECT_TRUE(Live()->isChecked());
    EXPECT_TRUE(Live()->isEnabled());
    EXPECT_TRUE(Capture()->isEnabled());
    EXPECT_EQ(mainWindow->host().windowSizeRequested().width(),
              mainWindow->host().columnWidth() + PageHost::kLiveViewAllowance);
    EXPECT_EQ(mainWindow->host().liveView()->geometry(), QRect(mainWindow->host().columnWidth() + 5, 5, 640, 480));
    EXPECT_TRUE(mainWindow->host().liveView()->isVisibleTo(mainWindow.get()));
    EXPECT_TRUE(WaitForPicture());

    // Live 1 -> 2 -> 1 through the button itself.
    struct Step {
        int state;
        bool checked;
    };
    for (const Step step : {Step{2, false}, Step{1, true}, Step{2, false}, Step{1, true}}) {
        QTest::mouseClick(Live(), Qt::LeftButton);
        EXPECT_EQ(Page().cameraState(), step.state);
        EXPECT_EQ(Live()->isChecked(), step.checked);
    }
    // Freezing by the toggle writes no file.
    QTest::mouseClick(Live(), Qt::LeftButton);
    EXPECT_FALSE(QFile::exists(Page().workFilePath()));
}

TEST_F(ImagePageCamera, CaptureWhileFrozenKeepsTheStateAndRewritesTheWorkFile)
{
    TestCameraVariable camera("ball");
    Make();
    ASSERT_TRUE(CameraOpens());
    ASSERT_TRUE(WaitForPicture());
    QPushButton *saveImage = mainWindow->host().button(CommandId::SaveImage);
    EXPECT_FALSE(saveImage->isEnabled());

    QTest::mouseClick(Capture(), Qt::LeftButton);
    EXPECT_EQ(Page().cameraState(), 2);
    EXPECT_FALSE(Live()->isChecked());
    EXPECT_TRUE(saveImage->isEnabled());
    EXPECT_EQ(mainWindow->host().imageSize(), QSize(2, 2));
    const QByteArray first = WorkFile();
    EXPECT_EQ(first.size(), 921654);

    ASSERT_TRUE(QFile::remove(Page().workFilePath()));
    QTest::qWait(100);  // the ball would have moved, were the camera running
    QTest::mouseClick(Capture(), Qt::LeftButton);
    EXPECT_EQ(Page().cameraState(), 2);
    EXPECT_EQ(WorkFile(), first);

    // Saving now writes the frozen frame, not a composite.
    const QString saved = dir.filePath("frozen.bmp");
    EXPECT_TRUE(mainWindow->WriteImageFile(saved, QStringLiteral("bmp")));
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), first);

    // Going live again drops the work file and the Save Image button.
    QTest::mouseClick(Live(), Qt::LeftButton);
    EXPECT_EQ(Page().cameraState(), 1);
    EXPECT_FALSE(QFile::exists(Page().workFilePath()));
    EXPECT_FALSE(saveImage->isEnabled());
}

TEST_F(ImagePageCamera, LeavingThePageWhileFrozenMeasuresTheFrameAndReturningReopens)
{
    TestCameraVariable camera("smpte:320x240");
    Make();
    ASSERT_TRUE(CameraOpens());
    ASSERT_TRUE(WaitForPicture());
    QTest::mouseClick(Capture(), Qt::LeftButton);
    ASSERT_EQ(Page().cameraState(), 2);

    mainWindow->host().SelectTab(PageScale);
    EXPECT_EQ(mainWindow->host().currentTab(), PageScale);
    EXPECT_TRUE(mainWindow->hasImage());
    EXPECT_EQ(mainWindow->host().imageSize(), QSize(320, 240));
    EXPECT_EQ(mainWindow->sourceImage().size(), QSize(320, 240));
    EXPECT_EQ(Page().cameraState(), 0);
    EXPECT_FALSE(QFile::exists(Page().workFilePath()));

    prompter.answers.push_back(UiPrompter::Answer::Yes);
    mainWindow->host().SelectTab(PageImage);
    EXPECT_FALSE(mainWindow->hasImage());
    EXPECT_TRUE(CameraOpens());
    EXPECT_EQ(Child<QComboBox>("combo1007")->count(), 1);
    EXPECT_TRUE(Live()->isChecked());
}

TEST_F(ImagePageCamera, LeavingWhileLiveLoadsNothing)
{
    TestCameraVariable camera("smpte");
    Make();
    ASSERT_TRUE(CameraOpens());
    mainWindow->host().SelectTab(PageMeasure);
    EXPECT_FALSE(mainWindow->hasImage());
    EXPECT_EQ(Page().cameraState(), 0);
}

// The page left while its camera starts: the camera closes once started,
// as it does when a live camera's page is left.
TEST_F(ImagePageCamera, LeavingWhileTheCameraStartsClosesIt)
{
    TestCameraVariable camera("smpte");
    // Not shown: showing would let the open end first.
    MainWindowTest::Make();
    ASSERT_EQ(Page().cameraGraph().state(), CameraGraph::State::Opening);
    QSignalSpy opened(&Page().cameraGraph(), &CameraGraph::openFinished);
    mainWindow->host().SelectTab(PageMeasure);
    ASSERT_TRUE(opened.wait(10000));
    EXPECT_TRUE(opened.at(0).at(0).toBool());
    EXPECT_EQ(Page().cameraState(), 0);
    EXPECT_EQ(Page().cameraGraph().state(), CameraGraph::State::None);
    EXPECT_FALSE(mainWindow->host().liveView()->isVisibleTo(mainWindow.get()));
    EXPECT_FALSE(Live()->isChecked());
    EXPECT_FALSE(mainWindow->hasImage());
}

TEST_F(ImagePageCamera, StoppedCameraReturnsTheControlsAndSaysSo)
{
    TestCameraVariable camera("smpte");
    Make("en", "en");
    ASSERT_TRUE(CameraOpens());
    // As the graph does when the stream fails: released first, then the signal.
    Page().cameraGraph().ReleaseCaptureGraph();
    emit Page().cameraGraph().cameraStopped(QStringLiteral("device gone"));
    EXPECT_EQ(Page().cameraState(), 0);
    EXPECT_FALSE(Live()->isChecked());
    EXPECT_FALSE(Capture()->isEnabled());
    EXPECT_FALSE(Child<QComboBox>("combo1007")->isEnabled());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.contains(QStringLiteral("device gone")));
    EXPECT_TRUE(prompter.messages[0].text.contains(QStringLiteral("camera stopped")));
    // Capture has nothing to take now.
    Page().OnCapture();
    EXPECT_EQ(Page().cameraState(), 0);
}

TEST_F(ImagePageCamera, ThicknessThreeCrossHasFourPixelBarsEndingFourInside)
{
    TestCameraVariable none(nullptr);
    Make();
    Page().OnThicknessChange(2);
    const QRegion cross = Page().guideWindow()->mask();
    EXPECT_EQ(cross, GuideWindow::CrossRegion(3, {640, 480}));
    // Horizontal bar: rows 240..243, columns 4..635.
    struct Probe {
        QPoint p;
        bool in;
    };
    const Probe probes[] = {
        {{100, 239}, false},
        {{100, 240}, true},
        {{100, 243}, true},
        {{100, 244}, false},
        {{3, 241}, false},
        {{4, 241}, true},
        {{635, 242}, true},
        {{636, 242}, false},
        // Vertical bar: columns 320..323, rows 4..475.
        {{319, 100}, false},
        {{320, 100}, true},
        {{323, 100}, true},
        {{324, 100}, false},
        {{321, 3}, false},
        {{321, 4}, true},
        {{322, 475}, true},
        {{322, 476}, false},
        // The 4 x 4 corners are rounded: the outermost corner pixels are cut.
        {{4, 240}, false},
        {{635, 243}, false},
        {{320, 4}, false},
        {{323, 475}, false},
    };
    for (const Probe &probe : probes)
        EXPECT_EQ(cross.contains(probe.p), probe.in) << probe.p.x() << "," << probe.p.y();
    EXPECT_EQ(cross.boundingRect(), QRect(4, 4, 632, 472));

    // Thickness 1 to 5 gives bars of 2 to 6 pixels.
    for (int t = 1; t <= 5; ++t) {
        const QRegion r = GuideWindow::CrossRegion(t, {640, 480});
        int rows = 0;
        for (int y = 0; y < 480; ++y)
            rows += r.contains(QPoint(100, y)) ? 1 : 0;
        EXPECT_EQ(rows, t + 1) << t;
    }
}

TEST_F(ImagePageCamera, GuideFollowsTheLiveViewAndTakesTheChosenColour)
{
    TestCameraVariable camera("smpte");
    Make();
    ASSERT_TRUE(CameraOpens());
    GuideWindow *guide = Page().guideWindow();
    EXPECT_EQ(guide->colour(), QColor(160, 180, 220));
    prompter.colors.push_back(QColor(Qt::green));
    QTest::mouseClick(Child<QPushButton>("button1005"), Qt::LeftButton);
    EXPECT_EQ(guide->colour(), QColor(Qt::green));

    QTest::mouseClick(Child<QCheckBox>("check1016"), Qt::LeftButton);
    EXPECT_EQ(guide->parentWidget(), mainWindow->host().liveView());
    EXPECT_EQ(guide->geometry(), QRect(0, 0, 640, 480));
    EXPECT_TRUE(guide->isVisibleTo(mainWindow->host().liveView()));
    QTest::mouseClick(Child<QCheckBox>("check1016"), Qt::LeftButton);
    EXPECT_FALSE(guide->isVisibleTo(mainWindow->host().liveView()));
}

// A 16:9 camera keeps its shape in the 4:3 view, and the reference cross
// stays where the picture's centre is.
TEST_F(ImagePageCamera, WideCameraKeepsItsShapeWithTheCrossAtItsCentre)
{
    TestCameraVariable camera("white:1280x720");
    Make();
    ASSERT_TRUE(CameraOpens());
    ASSERT_TRUE(WaitForPicture());
    QTest::mouseClick(Child<QCheckBox>("check1016"), Qt::LeftButton);
    const GuideWindow *guide = Page().guideWindow();
    ASSERT_EQ(guide->parentWidget(), mainWindow->host().liveView());

    // The lit span of a line through the picture, and of the cross's bar across it.
    const QImage picture = qobject_cast<LiveView *>(mainWindow->host().liveView())->picture();
    const QRegion cross = guide->mask().translated(guide->pos());
    struct Line {
        bool rows;  // a column read top to bottom, else a row left to right
        int at;
        int length;
    };
    for (const Line line : {Line{true, 100, 480}, Line{false, 100, 640}}) {
        int first = -1, last = -1, bar = -1;
        for (int i = 0; i < line.length; ++i) {
            const QPoint p = line.rows ? QPoint(line.at, i) : QPoint(i, line.at);
            if (qGray(picture.pixel(p)) > 128) {
                first = first < 0 ? i : first;
                last = i;
            }
            if (bar < 0 && cross.contains(p))
                bar = i;
        }
        SCOPED_TRACE(line.rows ? "rows" : "columns");
        // 1280 x 720 fills the 640 columns and 640 x 720 / 1280 = 360 rows.
        EXPECT_EQ(last - first + 1, line.rows ? 360 : 640);
        EXPECT_EQ(bar, (first + last + 1) / 2);
    }
}

}  // namespace
}  // namespace orv::test
