// The receiver thread over a loopback socket, fed by the simulator's sender.
#include "capture/device_event.h"
#include "capture/wireless/lens_overlay.h"
#include "capture/wireless/wireless_receiver.h"
#include "pixel_count.h"
#include "tools/wireless_sim/wireless_sender.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>

namespace orv {
namespace {

using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// Asks for a save and runs this thread's events until it is answered;
// nullopt when the request was refused or never answered.
std::optional<FrameSaveResult> SaveFrame(WirelessReceiver &receiver, const QString &path)
{
    QSignalSpy answered(&receiver, &WirelessReceiver::frameSaveFinished);
    if (!receiver.RequestFrameSave(path) || !answered.wait(20000))
        return std::nullopt;
    EXPECT_EQ(answered.size(), 1);
    EXPECT_EQ(answered.at(0).at(1).toString(), path);
    return answered.at(0).at(0).value<FrameSaveResult>();
}

QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pixels clearly more red than blue.
int Reddish(const QImage &image, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qRed(image.pixel(x, y)) - qBlue(image.pixel(x, y)) > 40 ? 1 : 0;
    return n;
}

// Mean absolute difference of the colour channels over area.
double MeanDifference(const QImage &a, const QImage &b, QRect area)
{
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * area.width() * area.height());
}

class WirelessReceiverTest : public ::testing::Test {
protected:
    void Start(WirelessReceiver::Config config = {})
    {
        config.port = 0;
        ASSERT_TRUE(receiver.StartReceiver(config)) << receiver.errorString().toStdString();
        ASSERT_NE(receiver.port(), 0);
        ASSERT_TRUE(WaitFor([&] { return receiver.listening(); }, 5000));
        QString error;
        sender = sim::UdpSender::Open(QStringLiteral("127.0.0.1"), receiver.port(), &error);
        ASSERT_TRUE(sender) << error.toStdString();
        // The receiver as context object: the slot runs queued on this thread.
        QObject::connect(&receiver, &WirelessReceiver::deviceEvent, &receiver,
                         [this](int code, int arg) { events.emplace_back(code, arg); });
    }

    void Send(const QByteArray &jpeg, sim::FrameHeader header = {})
    {
        sender->SendSpread(sim::SplitFrame(jpeg, header), 2ms);
    }

    // Sends the frame every 20 ms until a new picture has been drawn.
    bool SendUntilDrawn(const QByteArray &jpeg, sim::FrameHeader header = {})
    {
        const std::uint64_t before = receiver.framesDrawn();
        for (int i = 0; i < 100; ++i) {
            Send(jpeg, header);
            if (WaitFor([&] { return receiver.framesDrawn() > before; }, 20))
                return true;
        }
        return false;
    }

    static sim::FrameHeader Flags(std::uint8_t flags) { return {true, flags, std::nullopt}; }

    WirelessReceiver receiver;
    std::unique_ptr<sim::UdpSender> sender;
    std::vector<std::pair<int, int>> events;
    QTemporaryDir dir;
};

TEST_F(WirelessReceiverTest, LatestFrameIsTheDecodedJpegAndSavesKeepItsBytes)
{
    WirelessReceiver::Config config;
    config.viewSize = QSize(320, 240);
    config.saveWaitMs = 5000;
    Start(config);
    int readySignals = 0;
    QObject::connect(&receiver, &WirelessReceiver::frameReady, &receiver, [&] { ++readySignals; });

    // Hostile datagrams first: none of them may disturb the frame after.
    QByteArray huge(65000, 'J');
    huge.replace(0, 4, "JPEG");
    sender->Send(huge);
    sender->Send(QByteArray("JPEG\xFF\xFF\xFF\xFF", 8) + QByteArray(100, 'x'));
    sender->Send(QByteArray("JPG\x01\0\0\0\0", 8) + QByteArray(100, 'x'));
    sender->Send(QByteArray("JPEG\0\0\0\x10", 8) + QByteArray(1000, '\xD9'));

    const QByteArray jpeg = sim::MakeTestFrame(QSize(320, 240), 7, 85);
    ASSERT_TRUE(SendUntilDrawn(jpeg));
    ASSERT_TRUE(WaitFor([&] { return readySignals > 0; }, 2000));
    const QImage expected = QImage::fromData(jpeg).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(receiver.LatestFrame(), expected);

    // Without an overlay the frame's bytes are written unchanged.
    const QString plain = dir.filePath(QStringLiteral("plain.jpg"));
    ASSERT_EQ(SaveFrame(receiver, plain), FrameSaveResult::Saved);
    EXPECT_EQ(ReadFile(plain), jpeg);

    // With one it is re-rendered at w x 3w/4 with the overlay burned in (a
    // plain frame, so that the JPEG re-encoding changes little else).
    QImage flat(320, 240, QImage::Format_RGB32);
    flat.fill(qRgb(90, 110, 130));
    QByteArray flatJpeg;
    {
        QBuffer buffer(&flatJpeg);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(flat.save(&buffer, "jpeg", 95));
    }
    ASSERT_TRUE(SendUntilDrawn(flatJpeg));
    receiver.SetOverlayOptions(QStringLiteral("X100"), 1, QStringLiteral("Red"));
    const QString overlaid = dir.filePath(QStringLiteral("overlay.jpg"));
    ASSERT_EQ(SaveFrame(receiver, overlaid), FrameSaveResult::Saved);
    const QImage saved(overlaid);
    ASSERT_EQ(saved.size(), QSize(320, 240));
    // The thin red lines lose colour to the JPEG's halved chroma, but they
    // are where the overlay drawn locally puts them.
    QImage withOverlay = QImage::fromData(flatJpeg).convertToFormat(QImage::Format_RGB32);
    const QImage flatDecoded = withOverlay.copy();
    {
        QPainter p(&withOverlay);
        DrawLensOverlay(p, 0, 0, 320, 240, QStringLiteral("X100"), true, QStringLiteral("Red"));
    }
    const QRect scaleArea(230, 180, 90, 40);
    const int drawnRed = Reddish(withOverlay, scaleArea);
    EXPECT_GT(drawnRed, 100);
    EXPECT_GT(Reddish(saved, scaleArea), drawnRed / 2);
    EXPECT_EQ(Reddish(flatDecoded, scaleArea), 0);
    EXPECT_LT(MeanDifference(saved, withOverlay, QRect(10, 10, 100, 80)), 3);  // the frame itself

    // A path that cannot be written is reported, not taken for a save.
    EXPECT_EQ(SaveFrame(receiver, dir.filePath(QStringLiteral("no/such/dir/x.jpg"))), FrameSaveResult::WriteFailed);

    // The next picture carries the overlay too.
    ASSERT_TRUE(SendUntilDrawn(jpeg));
    EXPECT_NE(receiver.LatestFrame(), expected);
}

TEST_F(WirelessReceiverTest, OneButtonMessagePerPressSequence)
{
    Start();
    const QByteArray jpeg = sim::MakeTestFrame(QSize(64, 48), 1, 80);
    for (std::uint8_t flags : {2, 2, 2, 1, 2}) {
        Send(jpeg, Flags(flags));
        QThread::msleep(10);
    }
    const std::vector<std::pair<int, int>> pressed{{int(DeviceEvent::LongPress), 1}, {int(DeviceEvent::LongPress), 1}};
    EXPECT_TRUE(WaitFor([&] { return events.size() >= 2; }, 3000));
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(events, pressed);
}

TEST_F(WirelessReceiverTest, DisplayOffDrawsNothing)
{
    Start();
    receiver.SetDisplayOff();
    const QByteArray jpeg = sim::MakeTestFrame(QSize(64, 48), 2, 80);
    for (int i = 0; i < 5; ++i) {
        Send(jpeg);
        WaitFor([] { return false; }, 20);
    }
    EXPECT_EQ(receiver.framesDrawn(), 0u);
    EXPECT_TRUE(receiver.LatestFrame().isNull());
    receiver.SetDisplayOn(1);
    EXPECT_TRUE(SendUntilDrawn(jpeg));
    EXPECT_EQ(receiver.LatestFrame().size(), QSize(640, 480));
}

TEST_F(WirelessReceiverTest, UntakenPicturesAreReplacedByTheNewest)
{
    WirelessReceiver::Config config;
    config.viewSize = QSize(64, 48);
    Start(config);
    int readySignals = 0;
    QObject::connect(&receiver, &WirelessReceiver::frameReady, &receiver, [&] { ++readySignals; });
    QByteArray newest;
    for (int i = 0; i < 3; ++i) {
        newest = sim::MakeTestFrame(QSize(64, 48), 10 + i, 80);
        ASSERT_TRUE(SendUntilDrawn(newest));
    }
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(readySignals, 1);  // one notice while nobody took a picture
    EXPECT_EQ(receiver.LatestFrame(), QImage::fromData(newest).convertToFormat(QImage::Format_RGB32));
    ASSERT_TRUE(SendUntilDrawn(newest));
    EXPECT_TRUE(WaitFor([&] { return readySignals == 2; }, 2000));
}

TEST(WirelessReceiverStart, BusyPortIsReportedAndSecondStartDoesNothing)
{
    WirelessReceiver first;
    WirelessReceiver::Config config;
    config.port = 0;
    ASSERT_TRUE(first.StartReceiver(config));
    const std::uint16_t port = first.port();
    config.port = 12345;  // ignored: the receiver is running already
    EXPECT_TRUE(first.StartReceiver(config));
    EXPECT_EQ(first.port(), port);

    WirelessReceiver second;
    config.port = port;
    EXPECT_FALSE(second.StartReceiver(config));
    EXPECT_FALSE(second.started());
    EXPECT_FALSE(second.errorString().isEmpty());
    EXPECT_EQ(SaveFrame(second, QStringLiteral("unused.jpg")), FrameSaveResult::TimedOut);
}

TEST(WirelessReceiverSilence, LostStreamReportedOnlyWithMaskBit8)
{
    for (int mask : {3, 15}) {
        SCOPED_TRACE(mask);
        std::atomic<std::int64_t> now{0};
        WirelessReceiver receiver;
        std::vector<int> codes;
        QObject::connect(&receiver, &WirelessReceiver::deviceEvent, &receiver,
                         [&](int code, int) { codes.push_back(code); });
        WirelessReceiver::Config config;
        config.port = 0;
        config.notifyMask = mask;
        config.clockMs = [&] { return now.load(); };
        ASSERT_TRUE(receiver.StartReceiver(config));
        ASSERT_TRUE(WaitFor([&] { return receiver.listening(); }, 5000));
        QString error;
        auto sender = sim::UdpSender::Open(QStringLiteral("127.0.0.1"), receiver.port(), &error);
        ASSERT_TRUE(sender);
        sender->Send(QByteArray("noise datagram"));
        WaitFor([] { return false; }, 100);  // the silence starts at 0
        now = 1200;
        WaitFor([&] { return codes.size() >= 2; }, 1000);
        const std::vector<int> expected = mask == 15
            ? std::vector<int>{int(DeviceEvent::StreamResumed), int(DeviceEvent::StreamSilent)}
            : std::vector<int>{};
        EXPECT_EQ(codes, expected);
    }
}

// While the button is held only a 1280-wide frame satisfies a save; the
// release cancels a waiting save.
TEST_F(WirelessReceiverTest, SaveWhileButtonHeldWaitsForCaptureFrame)
{
    WirelessReceiver::Config config;
    config.saveWaitMs = 1500;
    Start(config);
    const QByteArray live = sim::MakeTestFrame(QSize(640, 480), 3, 60);
    const QByteArray capture = sim::MakeTestFrame(QSize(1280, 960), 4, 60);
    ASSERT_TRUE(SendUntilDrawn(live, Flags(2)));

    const QString path = dir.filePath(QStringLiteral("held.jpg"));
    {
        std::atomic<bool> stop{false};
        std::thread t([&] {
            while (!stop) {
                sender->SendSpread(sim::SplitFrame(live, Flags(2)), 2ms);
                std::this_thread::sleep_for(30ms);
            }
        });
        EXPECT_EQ(SaveFrame(receiver, path), FrameSaveResult::TimedOut);
        stop = true;
        t.join();
        EXPECT_FALSE(QFile::exists(path));
    }
    {
        std::thread t([&] {
            std::this_thread::sleep_for(100ms);
            sender->SendSpread(sim::SplitFrame(capture, Flags(2)), 20ms);
        });
        EXPECT_EQ(SaveFrame(receiver, path), FrameSaveResult::Saved);
        t.join();
        EXPECT_EQ(ReadFile(path), capture);
    }
    ASSERT_TRUE(SendUntilDrawn(live, Flags(2)));
    {
        std::thread t([&] {
            std::this_thread::sleep_for(100ms);
            sender->SendSpread(sim::SplitFrame(live, Flags(1)), 2ms);
        });
        EXPECT_EQ(SaveFrame(receiver, dir.filePath(QStringLiteral("cancel.jpg"))), FrameSaveResult::Cancelled);
        t.join();
    }
    // Released: the last frame is saved as it is, whatever its width.
    const QString released = dir.filePath(QStringLiteral("released.jpg"));
    EXPECT_EQ(SaveFrame(receiver, released), FrameSaveResult::Saved);
    EXPECT_EQ(ReadFile(released), live);
}

// Voluntary context switches of each thread of this process, by thread id.
std::map<QString, long> ThreadSwitches()
{
    std::map<QString, long> switches;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray status = ReadFile(tasks.filePath(tid + QStringLiteral("/status")));
        for (const QByteArray &line : status.split('\n'))
            if (line.startsWith("voluntary_ctxt_switches:"))
                switches[tid] = line.mid(24).trimmed().toLong();
    }
    return switches;
}

QImage FlatPicture(QSize size)
{
    QImage flat(size, QImage::Format_RGB32);
    flat.fill(qRgb(90, 110, 130));
    return flat;
}

QByteArray Jpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "jpeg", 95);
    return bytes;
}

using test::RedPixels;

// Without a stream the receiver thread sleeps until something is asked of
// it; what it is asked is still done at once.
TEST_F(WirelessReceiverTest, IdleReceiverSleepsYetAnswersAtOnce)
{
    std::atomic<std::int64_t> now{0};
    WirelessReceiver::Config config;
    config.saveWaitMs = 2000;
    config.clockMs = [&] { return now.load(); };
    Start(config);

    const auto before = ThreadSwitches();
    std::this_thread::sleep_for(2s);
    long total = 0;
    std::string each;
    for (const auto &[tid, count] : ThreadSwitches()) {
        const long n = count - (before.count(tid) ? before.at(tid) : 0);
        total += n;
        each += " " + tid.toStdString() + ":" + std::to_string(n);
    }
    EXPECT_LE(total, 40) << "switches by thread:" << each;  // 20 a second

    // A frame, then the stream gone quiet: the thread sleeps again.
    const QByteArray jpeg = Jpeg(FlatPicture({640, 480}));
    ASSERT_TRUE(SendUntilDrawn(jpeg));
    now = 5000;
    WaitFor([] { return false; }, 300);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(SaveFrame(receiver, dir.filePath(QStringLiteral("idle.jpg"))), FrameSaveResult::Saved);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_EQ(ReadFile(dir.filePath(QStringLiteral("idle.jpg"))), jpeg);
}

// New overlay options redraw the last frame at once, without a new frame;
// a frame of an earlier display session is not brought back.
TEST_F(WirelessReceiverTest, OverlayChangeRedrawsTheLastFrameWithoutANewOne)
{
    Start();
    int readySignals = 0;
    QObject::connect(&receiver, &WirelessReceiver::frameReady, &receiver, [&] { ++readySignals; });
    const QByteArray jpeg = Jpeg(FlatPicture({640, 480}));
    ASSERT_TRUE(SendUntilDrawn(jpeg));
    // Frames still on their way are drawn before the choices change.
    std::uint64_t drawn = 0;
    while (drawn != receiver.framesDrawn()) {
        drawn = receiver.framesDrawn();
        WaitFor([] { return false; }, 200);
    }
    ASSERT_GE(readySignals, 1);
    const QImage plain = receiver.LatestFrame();
    ASSERT_EQ(RedPixels(plain), 0);

    struct Change {
        const char *lens;
        int cross;
        const char *colour;
        bool red;  // the picture has the red overlay
    };
    const Change changes[] = {
        {"(nil)", 1, "Red", true}, {"X100", 1, "Red", true}, {"X100", 1, "White", false}, {"(nil)", 0, "Red", false}};
    for (const Change &change : changes) {
        SCOPED_TRACE(testing::Message() << change.lens << " " << change.cross << " " << change.colour);
        const int signalsBefore = readySignals;
        receiver.SetOverlayOptions(QString::fromLatin1(change.lens), change.cross, QString::fromLatin1(change.colour));
        ASSERT_TRUE(WaitFor([&] { return readySignals > signalsBefore; }, 1000));
        const QImage picture = receiver.LatestFrame();
        EXPECT_EQ(RedPixels(picture) > 400, change.red);
        EXPECT_EQ(picture == plain, !change.cross && QLatin1String(change.lens) == QLatin1String("(nil)"));
    }
    EXPECT_EQ(receiver.framesDrawn(), drawn);

    // Display off and on again: the old frame stays away until a new one comes.
    receiver.SetDisplayOff();
    receiver.SetDisplayOn(1);
    const int signalsBefore = readySignals;
    receiver.SetOverlayOptions(QStringLiteral("X100"), 1, QStringLiteral("Red"));
    WaitFor([] { return false; }, 200);
    EXPECT_EQ(readySignals, signalsBefore);
    EXPECT_EQ(RedPixels(receiver.LatestFrame()), 0);
    ASSERT_TRUE(SendUntilDrawn(jpeg));
    EXPECT_GT(RedPixels(receiver.LatestFrame()), 400);
}

// A request is answered later, one at a time; after its time-out the frame
// that comes is shown but not written for it.
TEST_F(WirelessReceiverTest, ExpiredRequestIsAnsweredOnceAndALateFrameIsNotWritten)
{
    WirelessReceiver::Config config;
    config.saveWaitMs = 300;
    Start(config);
    QSignalSpy answered(&receiver, &WirelessReceiver::frameSaveFinished);
    const QString path = dir.filePath(QStringLiteral("late.jpg"));
    ASSERT_TRUE(receiver.RequestFrameSave(path));
    EXPECT_TRUE(answered.isEmpty());
    EXPECT_FALSE(receiver.RequestFrameSave(dir.filePath(QStringLiteral("second.jpg"))));
    ASSERT_TRUE(answered.wait(5000));
    EXPECT_EQ(answered.at(0).at(0).value<FrameSaveResult>(), FrameSaveResult::TimedOut);
    EXPECT_EQ(answered.at(0).at(1).toString(), path);

    const QByteArray jpeg = sim::MakeTestFrame(QSize(320, 240), 5, 85);
    ASSERT_TRUE(SendUntilDrawn(jpeg));
    WaitFor([] { return false; }, 200);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(answered.size(), 1);
    // The next request takes that frame.
    EXPECT_EQ(SaveFrame(receiver, path), FrameSaveResult::Saved);
    EXPECT_EQ(ReadFile(path), jpeg);
}

}  // namespace
}  // namespace orv
