// The live view: frames from the camera graph painted scaled into the view.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include "app/pages/image/live_view.h"
#include "capture/camera/camera_frame.h"
#include "capture/camera/camera_graph.h"
#include "tests/capture/camera/camera_test_util.h"
#include "tests/support/camera_frame_source.h"

namespace orv {
namespace {

QImage Rendered(LiveView &view)
{
    QImage shot(view.size(), QImage::Format_RGB32);
    shot.fill(Qt::white);
    view.render(&shot);
    return shot;
}

TEST(LiveView, PaintsTheFrameWithItsShapeKept)
{
    LiveView view;
    view.show();
    EXPECT_EQ(view.size(), QSize(640, 480));
    // Without a frame the view is black.
    EXPECT_EQ(Rendered(view).pixelColor(320, 240), QColor(Qt::black));

    // A 1280 x 720 frame: left half red, right half blue, bottom 80 rows
    // green. It fills the width and is 360 rows high, 60 rows of black above
    // and below.
    const QSize source(1280, 720);
    const gst::SamplePtr sample = test::MakeBgrSample(source, [](int x, int y) {
        if (y >= 640)
            return QColor(Qt::green);
        return x < 640 ? QColor(Qt::red) : QColor(Qt::blue);
    });
    view.ShowFrame(CameraFrame::FromSample(sample.get()));
    const QImage shot = Rendered(view);
    struct Probe {
        QPoint at;
        QColor colour;
    };
    // 640 of 720 rows map to 60 + 320 = 380.
    const Probe probes[] = {
        {{5, 5}, Qt::black},     {{634, 59}, Qt::black},  {{5, 61}, Qt::red},
        {{634, 61}, Qt::blue},   {{100, 375}, Qt::red},   {{100, 385}, Qt::green},
        {{600, 418}, Qt::green}, {{600, 421}, Qt::black}, {{320, 479}, Qt::black},
    };
    for (const Probe &probe : probes)
        EXPECT_EQ(shot.pixelColor(probe.at), probe.colour) << probe.at.x() << "," << probe.at.y();

    // A resize keeps the picture until the next frame, then scales to the new size.
    view.resize(320, 240);
    EXPECT_EQ(view.picture().size(), QSize(320, 240));
    EXPECT_EQ(Rendered(view).pixelColor(300, 10), QColor(Qt::black));
    EXPECT_EQ(Rendered(view).pixelColor(300, 40), QColor(Qt::blue));
    // A view of another shape: the last picture is fitted too, not stretched.
    view.resize(640, 240);
    EXPECT_EQ(Rendered(view).pixelColor(100, 120), QColor(Qt::black));
    EXPECT_EQ(Rendered(view).pixelColor(200, 120), QColor(Qt::red));
    EXPECT_EQ(Rendered(view).pixelColor(440, 120), QColor(Qt::blue));

    view.Clear();
    EXPECT_TRUE(view.picture().isNull());
    EXPECT_EQ(Rendered(view).pixelColor(10, 10), QColor(Qt::black));
}

TEST(LiveView, FollowsTheCameraGraphAndKeepsTheLastPictureWhenItStops)
{
    CameraGraph graph;
    graph.setMessageSink([](const QString &) {});
    graph.setTestPattern(TestPatternSetting{"red", {800, 600}});
    LiveView view;
    QObject::connect(&graph, &CameraGraph::frameReady, &view, &LiveView::ShowFrame);
    QStringList names;
    graph.EnumerateCameras(names);
    int frames = 0;
    QObject::connect(&graph, &CameraGraph::frameReady, [&] { ++frames; });
    ASSERT_TRUE(test::Opened(graph, static_cast<int>(names.indexOf(kTestCameraName))));
    // The open itself shows the first frame; live frames follow.
    ASSERT_FALSE(view.picture().isNull());
    QElapsedTimer timer;
    timer.start();
    while (frames < 3 && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_GE(frames, 3);
    EXPECT_EQ(Rendered(view).pixelColor(320, 240), QColor(Qt::red));
    graph.ReleaseCaptureGraph();
    EXPECT_EQ(Rendered(view).pixelColor(320, 240), QColor(Qt::red));
}

}  // namespace
}  // namespace orv
