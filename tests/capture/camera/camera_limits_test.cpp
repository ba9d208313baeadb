// The camera within the image size limit, and the still's failures: a frame
// beyond the limit is refused with its size before any frame is handed out,
// and a still that cannot be written says the system's reason and leaves the
// earlier file as it was.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "capture/camera/camera_graph.h"
#include "core/image_limit.h"
#include "tests/capture/camera/camera_test_provider.h"
#include "tests/capture/camera/camera_test_util.h"
#include "tests/support/file_size_limit.h"

namespace orv {
namespace {

QString TooLarge(QSize size)
{
    return QStringLiteral("too large %1x%2").arg(size.width()).arg(size.height());
}

QString Reason(int errnum)
{
    return QString::fromLocal8Bit(std::strerror(errnum));
}

class CameraLimits : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::RegisterTestCameraProvider();
        graph.setMessageSink([this](const QString &m) { messages << m; });
        graph.setTooLargeText(&TooLarge);
        graph.setTestPattern(std::nullopt);
        QObject::connect(&graph, &CameraGraph::frameReady, [this](const CameraFrame &) { ++frames; });
        ASSERT_TRUE(dir.isValid());
    }

    int Index(const QString &name)
    {
        QStringList names;
        graph.EnumerateCameras(names);
        return static_cast<int>(names.indexOf(name));
    }

    CameraGraph graph;
    QTemporaryDir dir;
    QStringList messages;
    int frames = 0;
};

TEST_F(CameraLimits, FramesBeyondTheLimitAreRefusedWithTheirSize)
{
    const qint64 vga = 640 * 480;
    const struct Case {
        const char *what;
        std::optional<TestPatternSetting> pattern;  // the test pattern, forcing its size
        const char *camera;
        QSize desired;  // forced by the format choice
        qint64 maxPixels;
        QSize refused;  // invalid: the camera opens
    } cases[] = {
        {"absurd test pattern",
         TestPatternSetting{"smpte", {30000, 20000}},
         kTestCameraName,
         {},
         MaxImagePixels(),
         {30000, 20000}},
        {"side beyond the limit",
         TestPatternSetting{"smpte", {70000, 2}},
         kTestCameraName,
         {},
         MaxImagePixels(),
         {70000, 2}},
        {"chosen format", std::nullopt, "Kestra USB Shot", {1280, 1024}, 1280 * 720, {1280, 1024}},
        {"source's own size", std::nullopt, "Other Cam", {}, vga - 1, {640, 480}},
        {"source's own JPEG size", std::nullopt, "Jpeg Cam", {}, vga, test::JpegCameraSizes().front()},
        {"exactly at the limit", std::nullopt, "Other Cam", {}, vga, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        graph.setTestPattern(c.pattern);
        graph.setMaxFramePixels(c.maxPixels);
        if (c.desired.isValid())
            graph.setDesiredSize(c.desired.width(), c.desired.height());
        else
            graph.resetDesiredSize();
        messages.clear();
        frames = 0;
        const int index = Index(QString::fromUtf8(c.camera));
        ASSERT_GE(index, 0);
        QSize size;
        const bool opened = test::Opened(graph, index, &size);
        EXPECT_EQ(opened, !c.refused.isValid());
        if (opened) {
            EXPECT_TRUE(messages.isEmpty());
            EXPECT_EQ(size, QSize(640, 480));
            EXPECT_EQ(graph.state(), CameraGraph::State::Running);
            graph.ReleaseCaptureGraph();
            continue;
        }
        EXPECT_EQ(messages, QStringList{TooLarge(c.refused)});
        EXPECT_EQ(graph.state(), CameraGraph::State::None);
        EXPECT_TRUE(graph.currentFrame().isNull());
        test::Spin(50);
        EXPECT_EQ(frames, 0);
        EXPECT_FALSE(graph.SaveSnapshot(dir.filePath("none.bmp"), "bmp"));
    }
    // The graph still opens a camera within the limit afterwards.
    graph.setMaxFramePixels(MaxImagePixels());
    graph.resetDesiredSize();
    messages.clear();
    EXPECT_TRUE(test::Opened(graph, Index("Other Cam")));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(CameraLimits, FailedStillSaysWhyAndKeepsTheEarlierFile)
{
    graph.setTestPattern(TestPatternSetting{"smpte", {64, 48}});
    ASSERT_TRUE(test::Opened(graph, Index(kTestCameraName)));
    ASSERT_TRUE(test::WaitUntil([this] { return frames > 0; }));
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken"));

    // What this system says to a file created in a folder it refuses (as
    // root, only a file system that takes no files refuses).
    const int probe = ::open("/sys/orvalin-probe", O_WRONLY | O_CREAT | O_EXCL, 0644);
    const int refusal = probe < 0 ? errno : 0;
    if (probe >= 0) {
        ::close(probe);
        ::unlink("/sys/orvalin-probe");
    }

    for (const char *type : {"bmp", "jpg"}) {
        SCOPED_TRACE(type);
        const struct {
            const char *what;
            QString path;
            int errnum;
        } cases[] = {
            {"a folder in the way", dir.filePath("taken"), EISDIR},
            {"no such folder", dir.filePath("no/such/still"), ENOENT},
            {"a folder that takes no files", QStringLiteral("/sys/orvalin-still"), refusal},
        };
        for (const auto &c : cases) {
            if (c.errnum == 0)
                continue;
            QString reason;
            EXPECT_FALSE(graph.SaveSnapshot(c.path, type, &reason)) << c.what;
            EXPECT_EQ(reason, Reason(c.errnum)) << c.what;
        }

        // A full disk: the earlier still stays whole and nothing else is left.
        const QString still = dir.filePath(QStringLiteral("still.") + type);
        const QByteArray earlier = "earlier still";
        {
            QFile f(still);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            ASSERT_EQ(f.write(earlier), earlier.size());
        }
        QString reason;
        bool saved = true;
        {
            const test::FileSizeLimit full(16);
            saved = graph.SaveSnapshot(still, type, &reason);
        }
        EXPECT_FALSE(saved);
        EXPECT_EQ(reason, Reason(EFBIG));
        QFile f(still);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), earlier);
        f.close();
        EXPECT_TRUE(graph.SaveSnapshot(still, type, &reason));
        EXPECT_GT(QFile(still).size(), earlier.size());
        EXPECT_TRUE(QFile::remove(still));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList{"taken"});
    }
}

}  // namespace
}  // namespace orv
