// The live view: frames from the camera graph painted scaled to the view.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include "capture/camera_frame.h"
#include "tests/support/camera_frame_source.h"
#include "capture/camera_graph.h"
#include "app/live_view.h"

namespace orv {
namespace {

QImage Rendered(LiveView &view)
{
    QImage shot(view.size(), QImage::Format_RGB32);
    shot.fill(Qt::white);
    view.render(&shot);
    return shot;
}

TEST(LiveView, PaintsTheFrameStretchedToItsSize)
{
    LiveView view;
    view.show();
    EXPECT_EQ(view.size(), QSize(640, 480));
    // Without a frame the view is black.
    EXPECT_EQ(Rendered(view).pixelColor(320, 240), QColor(Qt::black));

    // A 1280 x 720 frame: left half red, right half blue, bottom 80 rows green.
    const QSize source(1280, 720);
    const gst::SamplePtr sample = test::MakeBgrSample(source, [](int x, int y) {
        if (y >= 640)
            return QColor(Qt::green);
        return x < 640 ? QColor(Qt::red) : QColor(Qt::blue);
    });
    view.ShowFrame(CameraFrame::FromSample(sample.get()));
    const QImage shot = Rendered(view);
    EXPECT_EQ(shot.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(634, 5), QColor(Qt::blue));
    // 640 of 720 rows map to 426.7 of 480.
    EXPECT_EQ(shot.pixelColor(100, 420), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(100, 433), QColor(Qt::green));
    EXPECT_EQ(shot.pixelColor(600, 479), QColor(Qt::green));

    // A resize keeps the picture until the next frame, then scales to the new size.
    view.resize(320, 240);
    EXPECT_EQ(view.picture().size(), QSize(320, 240));
    EXPECT_EQ(Rendered(view).pixelColor(300, 10), QColor(Qt::blue));

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
    ASSERT_TRUE(graph.BuildCaptureGraph(static_cast<int>(names.indexOf(kTestCameraName))));
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
