// The camera graph on real pipelines: test cameras from the device monitor
// and the test-pattern camera, all backed by videotestsrc.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <cstring>
#include <optional>
#include <tuple>

#include "capture/camera/camera_graph.h"
#include "tests/capture/camera/camera_test_provider.h"
#include "tests/capture/camera/camera_test_util.h"

namespace orv {
namespace {

using test::WaitUntil;

quint32 Le32(const QByteArray &b, int at)
{
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<quint8>(b[at + i]);
    return v;
}

quint16 Le16(const QByteArray &b, int at)
{
    return static_cast<quint16>(static_cast<quint8>(b[at]) | (static_cast<quint8>(b[at + 1]) << 8));
}

class CameraGraphTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::RegisterTestCameraProvider();
        graph.setMessageSink([this](const QString &m) { messages << m; });
        graph.setTestPattern(std::nullopt);
        QObject::connect(&graph, &CameraGraph::frameReady, [this](const CameraFrame &f) {
            ++frames;
            last = f;
        });
        QObject::connect(&graph, &CameraGraph::cameraStopped, [this](const QString &r) { stopped << r; });
        ASSERT_TRUE(dir.isValid());
    }

    // Lists the cameras and returns the index of name (-1 when absent).
    int Index(const QString &name)
    {
        QStringList names;
        graph.EnumerateCameras(names);
        return static_cast<int>(names.indexOf(name));
    }

    bool WaitFrames(int count)
    {
        const int target = frames + count;
        return WaitUntil([&] { return frames >= target; });
    }

    QString Path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    CameraGraph graph;
    QTemporaryDir dir;
    QStringList messages;
    QStringList stopped;
    int frames = 0;
    CameraFrame last;
};

TEST(CameraGraphEnvironment, TestCameraVariableAddsTheTestPattern)
{
    const QByteArray saved = qgetenv(kTestCameraVariable);
    for (const auto &[value, listed, size] :
         {std::tuple{"ball:1280x720", true, QSize(1280, 720)}, std::tuple{"smpte", true, QSize(640, 480)},
          std::tuple{"no-such-pattern", false, QSize()}, std::tuple{"ball:12x", false, QSize()}}) {
        qputenv(kTestCameraVariable, value);
        CameraGraph graph;
        graph.setMessageSink([](const QString &) {});
        QStringList names;
        graph.EnumerateCameras(names);
        const int index = static_cast<int>(names.indexOf(kTestCameraName));
        ASSERT_EQ(index >= 0, listed) << value;
        if (!listed)
            continue;
        QSize frameSize;
        ASSERT_TRUE(test::Opened(graph, index, &frameSize)) << value;
        EXPECT_EQ(frameSize, size) << value;
    }
    if (saved.isNull())
        qunsetenv(kTestCameraVariable);
    else
        qputenv(kTestCameraVariable, saved);
}

TEST_F(CameraGraphTest, IndexOpensTheListedCameraGoogleSkipped)
{
    QStringList names;
    const int count = graph.EnumerateCameras(names);
    EXPECT_EQ(count, names.size());
    EXPECT_FALSE(names.contains("Google Camera Adapter"));
    // Each test camera shows its own colour: the index reaches that camera.
    const struct {
        const char *name;
        QColor colour;
    } cases[] = {{"Other Cam", Qt::blue}, {"Kestra USB Shot", Qt::red}};
    for (const auto &c : cases) {
        const int index = static_cast<int>(names.indexOf(c.name));
        ASSERT_GE(index, 0) << c.name;
        QSize size;
        ASSERT_TRUE(test::Opened(graph, index, &size)) << c.name;
        EXPECT_EQ(size, test::TestCameraSizes().front());
        EXPECT_EQ(graph.state(), CameraGraph::State::Running);
        EXPECT_EQ(graph.deviceIndex(), index);
        ASSERT_TRUE(WaitFrames(2)) << c.name;
        EXPECT_EQ(test::CentreColour(last), c.colour) << c.name;
    }
    EXPECT_EQ(ChooseDefaultCamera(names, -1), names.indexOf("Kestra USB Shot"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CameraGraphTest, LiveFramesArriveAndPauseKeepsOneFrame)
{
    const int index = Index("Other Cam");
    ASSERT_TRUE(test::Opened(graph, index));
    ASSERT_TRUE(WaitFrames(5));

    graph.PauseCapture();
    EXPECT_EQ(graph.state(), CameraGraph::State::Paused);
    const CameraFrame frozen = graph.currentFrame();
    ASSERT_FALSE(frozen.isNull());
    // The view got the frozen frame itself, and nothing after it.
    test::Spin(50);
    const int afterPause = frames;
    EXPECT_EQ(last.sample(), frozen.sample());
    test::Spin(300);
    EXPECT_EQ(frames, afterPause);
    EXPECT_EQ(graph.currentFrame().sample(), frozen.sample());

    graph.ResumeCapture();
    EXPECT_EQ(graph.state(), CameraGraph::State::Running);
    ASSERT_TRUE(WaitFrames(3));
    EXPECT_NE(last.sample(), frozen.sample());
}

TEST_F(CameraGraphTest, BusyUiGetsOnlyTheNewestFrame)
{
    graph.setTestPattern(TestPatternSetting{"ball", {320, 240}});
    ASSERT_TRUE(test::Opened(graph, Index(kTestCameraName)));
    ASSERT_TRUE(WaitFrames(1));
    const GstClockTime startPts = GST_BUFFER_PTS(gst_sample_get_buffer(last.sample()));
    // The UI thread is busy for about fifteen frame times.
    QThread::msleep(500);
    const int before = frames;
    QCoreApplication::processEvents();
    // One hand-over (two if a frame slipped in meanwhile), not a backlog,
    // and it carries a frame from the end of the busy time.
    EXPECT_GE(frames, before + 1);
    EXPECT_LE(frames, before + 2);
    const GstClockTime pts = GST_BUFFER_PTS(gst_sample_get_buffer(last.sample()));
    EXPECT_GE(pts - startPts, 400 * GST_MSECOND);
}

TEST_F(CameraGraphTest, SnapshotBmpIsTheFrozenFrameBottomUpWithPaddedRows)
{
    // 642 pixels make 1926 bytes, padded to 1928.
    graph.setTestPattern(TestPatternSetting{"snow", {642, 482}});
    const int index = Index(kTestCameraName);
    ASSERT_GE(index, 0);
    QSize size;
    ASSERT_TRUE(test::Opened(graph, index, &size));
    EXPECT_EQ(size, QSize(642, 482));
    ASSERT_TRUE(WaitFrames(2));

    ASSERT_TRUE(graph.SaveSnapshot(Path("a.bmp"), "bmp"));
    EXPECT_EQ(graph.state(), CameraGraph::State::Paused);
    const CameraFrame frame = graph.currentFrame();
    QFile file(Path("a.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    const int stride = 1928;
    ASSERT_EQ(bmp.size(), 54 + stride * 482);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(Le32(bmp, 2), quint32(bmp.size()));
    EXPECT_EQ(Le32(bmp, 6), 0u);
    EXPECT_EQ(Le32(bmp, 10), 54u);
    EXPECT_EQ(Le32(bmp, 14), 40u);
    EXPECT_EQ(Le32(bmp, 18), 642u);
    EXPECT_EQ(Le32(bmp, 22), 482u);
    EXPECT_EQ(Le16(bmp, 26), 1);
    EXPECT_EQ(Le16(bmp, 28), 24);
    EXPECT_EQ(Le32(bmp, 30), 0u);
    EXPECT_EQ(Le32(bmp, 34), quint32(stride * 482));
    for (int y = 0; y < 482; ++y) {
        const char *row = bmp.constData() + 54 + (481 - y) * stride;
        ASSERT_EQ(std::memcmp(row, frame.row(y), 642 * 3), 0) << "row " << y;
        ASSERT_EQ(row[1926], 0);
        ASSERT_EQ(row[1927], 0);
    }
    // A second capture while frozen writes the same frame again.
    ASSERT_TRUE(graph.SaveSnapshot(Path("b.bmp"), "bmp"));
    QFile again(Path("b.bmp"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), bmp);

    // A 640 x 480 camera writes 921,654 bytes.
    ASSERT_TRUE(test::Opened(graph, Index("Other Cam")));
    ASSERT_TRUE(graph.SaveSnapshot(Path("c.bmp"), "bmp"));
    EXPECT_EQ(QFileInfo(Path("c.bmp")).size(), 921654);
}

TEST_F(CameraGraphTest, SnapshotJpegHasTheFramesOwnSize)
{
    graph.setTestPattern(TestPatternSetting{"smpte", {1280, 720}});
    ASSERT_TRUE(test::Opened(graph, Index(kTestCameraName)));
    ASSERT_TRUE(graph.SaveSnapshot(Path("a.jpg"), "jpg"));
    QImageReader reader(Path("a.jpg"));
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(1280, 720));
    // Any other type is a BMP, whatever the name says.
    ASSERT_TRUE(graph.SaveSnapshot(Path("b.jpg"), "JPG"));
    QFile file(Path("b.jpg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 54 + 1280 * 3 * 720);
    EXPECT_EQ(file.read(2), "BM");
}

TEST_F(CameraGraphTest, FormatChangeRebuildsTheSameCameraAtTheChosenSize)
{
    const int index = Index("Kestra USB Shot");
    ASSERT_TRUE(test::Opened(graph, index));
    EXPECT_EQ(graph.FormatSizes(), test::TestCameraSizes());

    QSize size;
    ASSERT_TRUE(test::Reformatted(graph, {1280, 1024}, &size));
    EXPECT_EQ(size, QSize(1280, 1024));
    EXPECT_EQ(graph.deviceIndex(), index);
    EXPECT_EQ(graph.desiredWidth(), 1280);
    EXPECT_EQ(graph.desiredHeight(), 1024);
    ASSERT_TRUE(WaitFrames(2));
    EXPECT_EQ(last.size(), QSize(1280, 1024));
    EXPECT_EQ(test::CentreColour(last), QColor(Qt::red));

    // Another camera with the desired size reset starts in its own format.
    graph.resetDesiredSize();
    ASSERT_TRUE(test::Opened(graph, Index("Other Cam"), &size));
    EXPECT_EQ(size, test::TestCameraSizes().front());
}

TEST_F(CameraGraphTest, ReleaseIsHarmlessTwiceAndBeforeABuild)
{
    graph.ReleaseCaptureGraph();
    EXPECT_EQ(graph.state(), CameraGraph::State::None);
    graph.PauseCapture();
    graph.ResumeCapture();
    EXPECT_FALSE(graph.SaveSnapshot(Path("none.bmp"), "bmp"));
    EXPECT_FALSE(QFile::exists(Path("none.bmp")));

    ASSERT_TRUE(test::Opened(graph, Index("Other Cam")));
    graph.ReleaseCaptureGraph();
    graph.ReleaseCaptureGraph();
    EXPECT_EQ(graph.state(), CameraGraph::State::None);
    // Frames queued before the release are not handed out after it.
    const int before = frames;
    test::Spin(200);
    EXPECT_EQ(frames, before);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CameraGraphTest, CameraThatCannotOpenShowsTheBindMessage)
{
    const int index = Index("Broken Cam");
    ASSERT_GE(index, 0);
    EXPECT_FALSE(graph.BuildCaptureGraph(index));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8(camera_messages::kDevice)});
    EXPECT_EQ(graph.state(), CameraGraph::State::None);
    // An index past the list fails silently.
    messages.clear();
    EXPECT_FALSE(graph.BuildCaptureGraph(1000));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CameraGraphTest, JpegOnlyCameraIsDecoded)
{
    const int index = Index("Jpeg Cam");
    ASSERT_GE(index, 0);
    QSize size;
    ASSERT_TRUE(test::Opened(graph, index, &size));
    EXPECT_EQ(size, test::JpegCameraSizes().front());
    ASSERT_TRUE(test::Reformatted(graph, {640, 480}, &size));
    EXPECT_EQ(size, QSize(640, 480));
    ASSERT_TRUE(WaitFrames(2));
    // A flat red survives JPEG nearly unchanged.
    const QColor centre = test::CentreColour(last);
    EXPECT_GT(centre.red(), 230);
    EXPECT_LT(centre.green() + centre.blue(), 40);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CameraGraphTest, SizeTheCameraCannotDeliverFailsTheOpen)
{
    const int index = Index("Other Cam");
    ASSERT_TRUE(test::Opened(graph, index));
    // Linking already asks the source for its sizes.
    EXPECT_FALSE(graph.ApplyFormat({800, 600}));
    EXPECT_EQ(messages, QStringList{QString::fromUtf8(camera_messages::kLink)});
    EXPECT_EQ(graph.state(), CameraGraph::State::None);
    // The desired size stays, so the same camera fails again until it is reset.
    EXPECT_EQ(graph.desiredWidth(), 800);
    graph.resetDesiredSize();
    EXPECT_TRUE(test::Opened(graph, index));
}

TEST_F(CameraGraphTest, StreamFailureWhileLiveReleasesAndSignals)
{
    ASSERT_TRUE(test::Opened(graph, Index("Failing Cam")));
    ASSERT_TRUE(WaitUntil([&] { return !stopped.isEmpty(); }));
    EXPECT_EQ(stopped.size(), 1);
    EXPECT_EQ(graph.state(), CameraGraph::State::None);
    // The last frame handed out stays with whoever holds it.
    EXPECT_FALSE(last.isNull());
    EXPECT_EQ(last.size(), test::TestCameraSizes().front());
    // The module is usable again.
    ASSERT_TRUE(test::Opened(graph, Index("Other Cam")));
    ASSERT_TRUE(WaitFrames(1));
    EXPECT_EQ(stopped.size(), 1);
}

// An open returns at once and this thread goes on with its events while the
// camera withholds its first frame: an event handled meanwhile lets the
// frame through or releases the graph, or the time-out ends the open.
TEST_F(CameraGraphTest, OpenWaitsForTheFirstFrameWithoutHoldingThisThread)
{
    using std::chrono::milliseconds;
    enum Then { GateOpens, NothingComes, Released };
    const struct {
        const char *what;
        Then then;
        milliseconds timeout;
        std::optional<bool> finished;  // openFinished's argument; none: no signal
        CameraGraph::State state;
        QStringList messages;
    } cases[] = {
        {"first frame comes late", GateOpens, milliseconds(10000), true, CameraGraph::State::Running, {}},
        {"no frame in time",
         NothingComes,
         milliseconds(300),
         false,
         CameraGraph::State::None,
         {QString::fromUtf8(camera_messages::kDevice)}},
        {"released while waiting", Released, milliseconds(300), std::nullopt, CameraGraph::State::None, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        graph.setStartTimeout(c.timeout);
        messages.clear();
        const int framesBefore = frames;
        QSignalSpy finished(&graph, &CameraGraph::openFinished);
        // Posted before the open: it runs while the open waits.
        std::optional<CameraGraph::State> seen;
        QMetaObject::invokeMethod(
            &graph,
            [&] {
                seen = graph.state();
                if (c.then == GateOpens)
                    test::OpenHeldCameraGate();
                if (c.then == Released)
                    graph.ReleaseCaptureGraph();
            },
            Qt::QueuedConnection);
        ASSERT_TRUE(graph.BuildCaptureGraph(Index("Held Cam")));
        EXPECT_EQ(frames, framesBefore);
        ASSERT_TRUE(WaitUntil([&] { return seen.has_value(); }));
        EXPECT_EQ(*seen, CameraGraph::State::Opening);
        if (c.finished) {
            ASSERT_TRUE(finished.wait(5000));
            EXPECT_EQ(finished.at(0).at(0).toBool(), *c.finished);
        } else {
            test::Spin(int(c.timeout.count()) + 300);
            EXPECT_TRUE(finished.isEmpty());
        }
        EXPECT_EQ(graph.state(), c.state);
        EXPECT_EQ(frames > framesBefore, c.state == CameraGraph::State::Running);
        EXPECT_EQ(messages, c.messages);
        graph.ReleaseCaptureGraph();
    }
}

}  // namespace
}  // namespace orv
