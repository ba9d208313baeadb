// Wireless mode in the main window: the image page's control swap and the
// codes it posts, the device event handler, and the microscope's stream over
// loopback from the simulator's sender into the live view and the Scale page.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include <atomic>
#include <thread>

#include "app/pages/image/image_page.h"
#include "app/pages/image/live_measuring.h"
#include "app/pages/image/live_view.h"
#include "capture/device_event.h"
#include "capture/wireless/wireless_protocol.h"
#include "capture/wireless/wireless_receiver.h"
#include "pixel_count.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tools/wireless_sim/wireless_sender.h"

namespace orv::test {
namespace {

constexpr int kLongPress = static_cast<int>(DeviceEvent::LongPress);
constexpr int kNbStart = static_cast<int>(DeviceEvent::NbStart);
constexpr int kNbStop = static_cast<int>(DeviceEvent::NbStop);
constexpr int kNbCapture = static_cast<int>(DeviceEvent::NbCapture);
constexpr int kNbSetScale = static_cast<int>(DeviceEvent::NbSetScale);

QList<int> Codes(const QSignalSpy &spy)
{
    QList<int> codes;
    for (const QList<QVariant> &args : spy)
        codes << args.at(0).toInt();
    return codes;
}

// Sends one JPEG as frames, over and over, from a thread of its own.
class StreamThread {
public:
    // After `switchAfter` frames (when above 0) the header becomes `later`.
    StreamThread(std::uint16_t port, QByteArray jpeg, sim::FrameHeader header, int switchAfter = 0,
                 sim::FrameHeader later = {})
    {
        QString error;
        sender_ = sim::UdpSender::Open(QStringLiteral("127.0.0.1"), port, &error);
        datagrams_ = sim::SplitFrame(jpeg, header);
        later_ = sim::SplitFrame(jpeg, later);
        thread_ = std::thread([this, switchAfter] {
            for (int frame = 0; !stop_.load(); ++frame) {
                const bool switched = switchAfter > 0 && frame >= switchAfter;
                sender_->SendSpread(switched ? later_ : datagrams_, std::chrono::milliseconds(2));
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        });
    }
    ~StreamThread()
    {
        stop_.store(true);
        thread_.join();
    }
    StreamThread(const StreamThread &) = delete;
    StreamThread &operator=(const StreamThread &) = delete;

private:
    std::unique_ptr<sim::UdpSender> sender_;
    std::vector<QByteArray> datagrams_;
    std::vector<QByteArray> later_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class WirelessModeTest : public MainWindowTest {
protected:
    MainWindow &MakeWireless(int saveWaitMs = 10000)
    {
        WindowEnvironment env = Env();
        env.wirelessSaveWaitMs = saveWaitMs;
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        mainWindow->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(mainWindow.get()));
        return *mainWindow;
    }
    ImagePage &page() { return *PartsOf(*mainWindow).imagePage; }
    template<class T>
    T *child(const char *name)
    {
        return mainWindow->findChild<T *>(name);
    }
    LiveView &live() { return *qobject_cast<LiveView *>(mainWindow->host().liveView()); }
    void ToggleWireless() { QTest::mouseClick(child<QPushButton>("button1039"), Qt::LeftButton); }
    std::uint16_t port() const { return mainWindow->wirelessReceiver()->port(); }
    bool Listening() const { return mainWindow->wirelessReceiver()->listening(); }
};

TEST_F(WirelessModeTest, ToggleSwapsControlSetsWidensWindowAndPostsStartStop)
{
    MakeWireless();
    QSignalSpy posted(mainWindow.get(), &MainWindow::deviceEventPosted);
    ASSERT_TRUE(mainWindow->wirelessReceiver() && mainWindow->wirelessReceiver()->started());
    const int narrow = mainWindow->width();
    ASSERT_LT(narrow, 640);

    struct Step {
        int mode;
        int code;
    };
    for (const Step step : {Step{1, kNbStart}, Step{0, kNbStop}}) {
        SCOPED_TRACE(step.mode);
        ToggleWireless();
        const bool on = step.mode == 1;
        EXPECT_EQ(page().wirelessMode(), step.mode);
        EXPECT_EQ(child<QPushButton>("button1039")->isChecked(), on);
        for (const char *name : {"group1040", "combo1020", "combo1025", "check1028"})
            EXPECT_EQ(child<QWidget>(name)->isVisibleTo(&page()), on) << name;
        for (const char *name : {"group1022", "combo1007", "button1001", "check1016"})
            EXPECT_EQ(child<QWidget>(name)->isVisibleTo(&page()), !on) << name;
        EXPECT_EQ(mainWindow->host().liveView()->isVisible(), on);
        if (on)
            EXPECT_GE(mainWindow->width(), mainWindow->host().columnWidth() + 640);
        else
            EXPECT_EQ(mainWindow->width(), narrow);
        EXPECT_EQ(Codes(posted).value(posted.size() - 1), step.code);
    }
    EXPECT_EQ(Codes(posted), (QList<int>{kNbStart, kNbStop}));
}

TEST_F(WirelessModeTest, OverlayChoicesPostSetScaleWithTheirTexts)
{
    MakeWireless();
    ToggleWireless();
    QSignalSpy posted(mainWindow.get(), &MainWindow::deviceEventPosted);
    auto *colour = child<QComboBox>("combo1020");
    auto *lens = child<QComboBox>("combo1025");
    QTest::keyClick(colour, Qt::Key_Down);
    QTest::keyClick(colour, Qt::Key_Down);
    QTest::keyClick(lens, Qt::Key_Down);
    QTest::keyClick(lens, Qt::Key_Down);
    QTest::keyClick(lens, Qt::Key_Down);
    QTest::mouseClick(child<QCheckBox>("check1028"), Qt::LeftButton);
    EXPECT_EQ(page().overlayColourText(), "Red");
    EXPECT_EQ(page().lensText(), "X100");
    EXPECT_EQ(page().crossIndicator(), 1);
    EXPECT_EQ(Codes(posted), QList<int>(6, kNbSetScale));
}

TEST_F(WirelessModeTest, EventsOutsideTheirModeOrUnknownChangeNothing)
{
    MakeWireless();
    QSignalSpy posted(mainWindow.get(), &MainWindow::deviceEventPosted);
    prompter.messages.clear();  // only what follows counts
    // LONG_PRESS outside wireless mode, the stream codes, and codes not in the table.
    for (const auto &[code, argument] :
         {std::pair{kLongPress, 1}, {kLongPress, 0}, {4, 0}, {8, 0}, {1, 0}, {3, 0}, {256, 0}, {-1, 0}})
        EXPECT_EQ(mainWindow->commands().OnDeviceEvent(code, argument), 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(posted.isEmpty());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(mainWindow->host().currentTab(), PageImage);
    EXPECT_FALSE(mainWindow->hasImage());
}

TEST_F(WirelessModeTest, StartDrawsWhiteFrameAndNoticeAndLongPressPostsCapture)
{
    MakeWireless();
    ToggleWireless();
    QCoreApplication::processEvents();  // NB_START
    const QImage start = live().picture();
    ASSERT_EQ(start.size(), QSize(640, 480));
    EXPECT_EQ(start.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(start.pixel(639, 479), qRgb(0, 0, 0));
    EXPECT_EQ(start.pixel(100, 100), qRgb(255, 255, 255));
    // The notice's ink lies right of and below (215, 225), nowhere else.
    int inside = 0;
    int outside = 0;
    for (int y = 1; y < 479; ++y)
        for (int x = 1; x < 639; ++x)
            if (start.pixel(x, y) != qRgb(255, 255, 255))
                ++(QRect(215, 225, 425, 60).contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);

    // Released: the capture is posted without the notice.
    live().Clear();
    QSignalSpy posted(mainWindow.get(), &MainWindow::deviceEventPosted);
    mainWindow->commands().OnDeviceEvent(kLongPress, 0);
    EXPECT_TRUE(live().picture().isNull());
    EXPECT_EQ(Codes(posted), QList<int>{kNbCapture});
}

TEST_F(WirelessModeTest, CaptureWithoutFrameShowsFailureAndStaysInWirelessMode)
{
    MakeWireless(100);
    ToggleWireless();
    prompter.messages.clear();  // only what follows counts
    mainWindow->commands().OnDeviceEvent(kNbCapture, 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !prompter.messages.empty(); }, 10000));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("保存に失敗しました。"));
    EXPECT_EQ(page().wirelessMode(), 1);
    EXPECT_EQ(mainWindow->host().currentTab(), PageImage);
    EXPECT_FALSE(mainWindow->hasImage());
}

// The capture as the button posts it waits for its frame while the window
// handles what comes after it: a key, and the event that starts the stream.
TEST_F(WirelessModeTest, CaptureWaitingForItsFrameLeavesTheWindowAnswering)
{
    MakeWireless(3000);
    ToggleWireless();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Listening(); }, 5000));
    prompter.messages.clear();  // only what follows counts
    const QByteArray small = sim::MakeTestFrame(QSize(640, 480), 4, 90);

    mainWindow->host().PostDeviceEvent(kNbCapture, 0);
    auto *colour = child<QComboBox>("combo1020");
    QCoreApplication::postEvent(colour, new QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier));
    std::unique_ptr<StreamThread> stream;
    QTimer::singleShot(0, mainWindow.get(),
                       [&] { stream = std::make_unique<StreamThread>(port(), small, sim::FrameHeader{}); });
    ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->host().currentTab() == PageScale; }, 10000));
    stream.reset();
    EXPECT_EQ(page().overlayColourText(), "White");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(page().wirelessMode(), 0);
    EXPECT_EQ(mainWindow->host().imageSize(), QSize(640, 480));
}

TEST_F(WirelessModeTest, UnwritableWorkFileShowsFailureAndReleasedButtonCancelsSilently)
{
    MakeWireless();
    ToggleWireless();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->wirelessReceiver()->listening(); }, 5000));
    prompter.messages.clear();  // only what follows counts
    const QByteArray small = sim::MakeTestFrame(QSize(640, 480), 3, 90);

    // A folder in the work file's place: the frame cannot be written.
    ASSERT_TRUE(QDir(dir.path()).mkdir("Orvalin_Workfile.jpg"));
    {
        StreamThread stream(port(), small, {});
        ASSERT_TRUE(QTest::qWaitFor([this] { return !live().picture().isNull(); }, 10000));
        mainWindow->commands().OnDeviceEvent(kNbCapture, 0);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !prompter.messages.empty(); }, 10000));
    }
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, QStringLiteral("保存に失敗しました。"));
    EXPECT_EQ(page().wirelessMode(), 1);
    ASSERT_TRUE(QDir(dir.path()).rmdir("Orvalin_Workfile.jpg"));

    // Held over 640-wide frames (the save waits for a 1280-wide one), then let go.
    QSignalSpy posted(mainWindow.get(), &MainWindow::deviceEventPosted);
    {
        StreamThread stream(port(), small, {true, kFlagPressed, std::nullopt}, 10, {true, kFlagReset, std::nullopt});
        QTest::qWait(1500);
    }
    EXPECT_EQ(Codes(posted), QList<int>{kNbCapture});
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(page().wirelessMode(), 1);
    EXPECT_EQ(mainWindow->host().currentTab(), PageImage);
    EXPECT_FALSE(QFile::exists(dir.filePath("Orvalin_Workfile.jpg")));
}

TEST_F(WirelessModeTest, StreamReachesLiveViewAndButtonCapturesIntoScalePage)
{
    MakeWireless();
    ToggleWireless();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->wirelessReceiver()->listening(); }, 5000));

    const QByteArray small = sim::MakeTestFrame(QSize(640, 480), 1, 90);
    const QImage decoded = QImage::fromData(small).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(RedPixels(decoded), 0);
    {
        StreamThread stream(port(), small, {});
        EXPECT_TRUE(QTest::qWaitFor([&] { return live().picture() == decoded; }, 10000));
    }

    // The cross in red, through NB_SETSCALE, reaches the next pictures.
    auto *colour = child<QComboBox>("combo1020");
    QTest::keyClick(colour, Qt::Key_Down);
    QTest::keyClick(colour, Qt::Key_Down);
    QTest::mouseClick(child<QCheckBox>("check1028"), Qt::LeftButton);
    {
        StreamThread stream(port(), small, {});
        EXPECT_TRUE(QTest::qWaitFor([&] { return RedPixels(live().picture()) > 400; }, 10000));
    }
    QTest::keyClick(colour, Qt::Key_Up);
    QTest::keyClick(colour, Qt::Key_Up);
    // By key: a second click this soon would be a double click.
    QTest::keyClick(child<QCheckBox>("check1028"), Qt::Key_Space);
    QCoreApplication::processEvents();
    ASSERT_EQ(page().overlayColourText(), "Black");
    ASSERT_EQ(page().crossIndicator(), 0);

    // The button held: frames of the microscope's capture width, saved unchanged.
    const QByteArray big = sim::MakeTestFrame(QSize(1280, 960), 2, 90);
    const QString workFile = dir.filePath("Orvalin_Workfile.jpg");
    {
        StreamThread stream(port(), big, {true, kFlagPressed, std::nullopt});
        ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->host().currentTab() == PageScale; }, 15000));
    }
    QFile saved(workFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), big);
    EXPECT_EQ(page().wirelessMode(), 0);
    EXPECT_FALSE(mainWindow->host().liveView()->isVisible());
    EXPECT_EQ(PartsOf(*mainWindow).tabControl->currentIndex(), PageScale);
    EXPECT_EQ(mainWindow->host().imageSize(), QSize(1280, 960));
    EXPECT_EQ(mainWindow->sourceImage().pixel(700, 500),
              QImage::fromData(big).convertToFormat(QImage::Format_RGB32).pixel(700, 500));
    EXPECT_EQ(mainWindow->document().results().rowCount(), 0);
    EXPECT_TRUE(mainWindow->document().list().empty());
}

// Measurements on a captured frame are never given up unasked: back on the
// Image page the window asks to save them, and Save keeps the frame with them.
TEST_F(WirelessModeTest, MeasuredCaptureAsksBeforeTheImagePageGivesItUp)
{
    MakeWireless();
    ToggleWireless();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Listening(); }, 5000));
    const QByteArray frame = sim::MakeTestFrame(QSize(1280, 960), 3, 90);
    {
        StreamThread stream(port(), frame, {true, kFlagPressed, std::nullopt});
        ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->host().currentTab() == PageScale; }, 15000));
    }
    MeasureDocument &doc = mainWindow->document();
    auto item = NewMeasureItem();
    item->kind = KindDistance2Points;
    AppendPoint(*item, {100, 100});
    AppendPoint(*item, {600, 400});
    doc.BeginEdit(std::move(item));
    doc.ListEditItem();

    const QString saved = dir.filePath("capture.orvm");
    for (UiPrompter::Answer answer : {UiPrompter::Answer::Cancel, UiPrompter::Answer::Save}) {
        SCOPED_TRACE(int(answer));
        prompter.messages.clear();
        prompter.answers = {answer};
        prompter.savePaths = {saved};
        mainWindow->host().SelectTab(PageImage);
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(prompter.messages[0].buttons, UiPrompter::Buttons::SaveDiscardCancel);
        EXPECT_EQ(mainWindow->hasImage(), answer == UiPrompter::Answer::Cancel);
    }
    const MeasurementReadResult read = LoadMeasurementFile(saved);
    ASSERT_TRUE(read.session);
    EXPECT_EQ(read.session->items.size(), 1u);
    EXPECT_EQ(read.session->image.size(), QSize(1280, 960));
}

// With the stream stopped, each overlay choice redraws the last picture at once.
TEST_F(WirelessModeTest, OverlayChoicesRedrawTheLastPictureWhenNoStreamComes)
{
    MakeWireless();
    ToggleWireless();
    ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->wirelessReceiver()->listening(); }, 5000));
    const QByteArray small = sim::MakeTestFrame(QSize(640, 480), 1, 90);
    const QImage decoded = QImage::fromData(small).convertToFormat(QImage::Format_RGB32);
    {
        StreamThread stream(port(), small, {});
        ASSERT_TRUE(QTest::qWaitFor([&] { return live().picture() == decoded; }, 10000));
    }

    struct Step {
        const char *widget;
        Qt::Key key;
        bool plain;    // the picture is the frame alone
        bool moreRed;  // more red pixels than before the step
    };
    const Step steps[] = {
        {"combo1020", Qt::Key_Down, true, false},   // white, nothing drawn yet
        {"combo1020", Qt::Key_Down, true, false},   // red
        {"check1028", Qt::Key_Space, false, true},  // the cross
        {"combo1025", Qt::Key_Down, false, true},   // X30: the scale and its label
        {"combo1020", Qt::Key_Up, false, false},    // white
    };
    int red = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(testing::Message() << step.widget << " " << step.key);
        QTest::keyClick(child<QWidget>(step.widget), step.key);
        if (step.plain) {
            QTest::qWait(100);
            EXPECT_EQ(live().picture(), decoded);
            continue;
        }
        const auto redrawn = [&] {
            const int now = RedPixels(live().picture());
            return live().picture() != decoded && (step.moreRed ? now > red : now == 0);
        };
        EXPECT_TRUE(QTest::qWaitFor(redrawn, 2000))
            << RedPixels(live().picture()) << " red pixels, " << red << " before";
        red = RedPixels(live().picture());
    }
}

// A wireless still goes by the microscope's fixed name: the scale file chosen
// for one comes back with the next at that size.
TEST_F(WirelessModeTest, WirelessStillsBringBackTheirScaleFile)
{
    for (const char *name : {"wire", "other"}) {
        QFile f(dir.filePath(QLatin1String(name) + ".sst"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(name == QLatin1String("wire") ? "[HScale]\r\npixel=321\r\n" : "[HScale]\r\npixel=77\r\n");
    }
    MakeWireless();
    auto *list = mainWindow->findChild<QComboBox *>("scaleFileList");
    auto *note = mainWindow->findChild<QLabel *>("cameraScaleNote");
    auto choose = [list](const char *name) {
        const int entry = list->findText(QLatin1String(name));
        list->setCurrentIndex(entry);
        emit list->activated(entry);
    };
    const QByteArray frame = sim::MakeTestFrame(QSize(1280, 960), 2, 90);
    auto capture = [&] {
        ToggleWireless();
        ASSERT_TRUE(QTest::qWaitFor([this] { return Listening(); }, 5000));
        // Released first: the last capture's press must end before a new one counts.
        StreamThread stream(port(), frame, {true, kFlagReset, std::nullopt}, 5, {true, kFlagPressed, std::nullopt});
        ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->host().currentTab() == PageScale; }, 15000));
    };

    capture();
    EXPECT_EQ(mainWindow->document().stillCamera(), QLatin1String(kWirelessCameraName));
    choose("wire");
    mainWindow->LoadImageFile(dir.filePath("Orvalin_Workfile.jpg"));
    choose("other");
    ASSERT_EQ(mainWindow->document().calibration().setting.hPixel, "77");

    prompter.answers.push_back(UiPrompter::Answer::Discard);
    mainWindow->host().SelectTab(PageImage);
    capture();
    EXPECT_EQ(list->currentText(), "wire");
    EXPECT_EQ(mainWindow->document().calibration().setting.hPixel, "321");
    EXPECT_FALSE(note->isHidden());
    EXPECT_EQ(note->text(), QString::fromUtf8("Scale for Nimbra at 1280 × 960: wire"));
}

// A distance placed on the wireless picture (stretched over the view) is
// taken into the microscope's capture at the frame pixels under the clicks.
TEST_F(WirelessModeTest, ALiveDistanceOnTheWirelessPictureGoesIntoItsCapture)
{
    MakeWireless();
    ToggleWireless();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Listening(); }, 5000));
    const QByteArray frame = sim::MakeTestFrame(QSize(1280, 960), 2, 90);
    auto *tool = child<QComboBox>("liveTool");
    tool->setCurrentIndex(tool->findData(int(KindDistance2Points)));
    const auto at = [this](QPoint p) { return live().mapTo(mainWindow.get(), p); };
    {
        StreamThread stream(port(), frame, {true, kFlagReset, std::nullopt});
        ASSERT_TRUE(QTest::qWaitFor([this] { return live().mapping().frame == QSize(1280, 960); }, 10000));
        EXPECT_EQ(live().mapping().shown, QRect(0, 0, 640, 480));
        for (QPoint p : {QPoint(100, 100), QPoint(300, 200)}) {
            QTest::mouseMove(mainWindow->windowHandle(), at(p));
            QTest::mouseClick(mainWindow->windowHandle(), Qt::LeftButton, {}, at(p));
        }
        ASSERT_EQ(page().liveMeasuring()->liveItems().size(), 1u);
    }
    StreamThread stream(port(), frame, {true, kFlagReset, std::nullopt}, 5, {true, kFlagPressed, std::nullopt});
    ASSERT_TRUE(QTest::qWaitFor([this] { return mainWindow->host().currentTab() == PageScale; }, 15000));
    ASSERT_EQ(mainWindow->document().image().size(), QSize(1280, 960));
    ASSERT_EQ(mainWindow->document().list().size(), 1u);
    const MeasureItem &item = mainWindow->document().list().at(0);
    // Two frame pixels a view pixel each way; the centre's one is taken.
    EXPECT_EQ(item.points[0].pos, QPoint(201, 201));
    EXPECT_EQ(item.points[1].pos, QPoint(601, 401));
    EXPECT_TRUE(page().liveMeasuring()->liveItems().empty());
}

}  // namespace
}  // namespace orv::test
