// The Image page with its devices: the camera's snapshot key and the
// microscope button turned into captures by the page's poll, the camera
// settings and stream format through the page's buttons, a camera failing
// while live, the camera paused by wireless mode, and a busy wireless port.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include <linux/videodev2.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>

#include "app/pages/image/camera_controls_dialog.h"
#include "app/pages/image/camera_format_dialog.h"
#include "app/pages/image/image_page.h"
#include "app/pages/image/live_view.h"
#include "capture/buttons/button_detection.h"
#include "capture/camera/camera_graph.h"
#include "capture/wireless/wireless_receiver.h"
#include "tests/app/mainwindow/main_window_fixture.h"
#include "tests/app/pages/image/test_camera_variable.h"
#include "tests/capture/camera/camera_test_provider.h"
#include "tests/support/fake_control_device.h"
#include "tests/support/fake_sysfs.h"

namespace orv::test {
namespace {

// Answers each poll with the scripted reading (held until changed).
class ScriptedSnapShotReader : public SnapShotFlagReader {
public:
    ScriptedSnapShotReader() :
        SnapShotFlagReader(std::make_shared<FakeEvdevBackend>())
    {
    }
    SnapShotRead ReadSnapShotFlag() override { return next; }
    SnapShotRead next{SnapShotStatus::Ok, 0};
};

class ImagePageDevices : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        RegisterTestCameraProvider();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        SetTestCamerasListed(false);
    }

    MainWindow &MakeWith(const std::function<void(DeviceAccess &)> &adjust, const char *language = "en")
    {
        WindowEnvironment env = Env(language, language);
        env.devices.hid = hid;
        if (adjust)
            adjust(env.devices);
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        ShowLaidOut(*mainWindow);
        return *mainWindow;
    }
    // The page with a scripted snapshot reader.
    MainWindow &MakeScripted()
    {
        return MakeWith([this](DeviceAccess &d) {
            d.snapShotReader = [this] {
                auto r = std::make_unique<ScriptedSnapShotReader>();
                reader = r.get();
                return r;
            };
        });
    }

    ImagePage &Page() { return *PartsOf(*mainWindow).imagePage; }
    template<class W>
    W *Child(const char *name)
    {
        return Page().findChild<W *>(name);
    }
    QPushButton *Live() { return Child<QPushButton>("button1030"); }
    QTimer *PollTimer() { return Child<QTimer>("snapShotPollTimer"); }
    LiveView &View() { return *qobject_cast<LiveView *>(mainWindow->host().liveView()); }
    bool WorkFileExists() { return QFile::exists(Page().workFilePath()); }
    // Lets the open under way end; true when the camera runs live.
    bool CameraOpens()
    {
        return QTest::qWaitFor([this] { return Page().cameraState() == 1; }, 10000);
    }

    // Lets n more polls run, then the captures they posted.
    bool Polls(int n)
    {
        QSignalSpy spy(PollTimer(), &QTimer::timeout);
        const bool ran = QTest::qWaitFor([&] { return spy.count() >= n; }, 5000);
        QCoreApplication::processEvents();
        return ran;
    }

    std::shared_ptr<FakeHidBackend> hid = std::make_shared<FakeHidBackend>();
    ScriptedSnapShotReader *reader = nullptr;  // owned by the page
};

TEST_F(ImagePageDevices, SnapShotKeyCapturesOnItsRisingEdgeWhileLiveOnly)
{
    TestCameraVariable none(nullptr);
    MakeScripted();
    ASSERT_TRUE(CameraOpens());
    ASSERT_EQ(Child<QComboBox>("combo1007")->currentText(), QLatin1String(kSnapshotCameraName));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->cameraNode(), kSnapshotCameraNode);
    EXPECT_TRUE(PollTimer()->isActive());
    EXPECT_EQ(PollTimer()->interval(), 300);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View().picture().isNull(); }, 5000));

    // One value per poll; the work file tells whether that poll captured (it
    // is removed after each check, so a capture while frozen shows too).
    enum Act { Poll, PressLive };
    struct Step {
        Act act;
        std::uint32_t value;
        bool captures;
        int stateAfter;
    };
    const Step steps[] = {
        {Poll, 0, false, 1},      {Poll, 1, true, 2},  {Poll, 1, false, 2},  // 0, 1, 1: one capture
        {Poll, 0, false, 2},      {Poll, 1, false, 2},                       // frozen: the edge captures nothing
        {PressLive, 0, false, 1}, {Poll, 1, false, 1},                       // still the same press
        {Poll, 0, false, 1},      {Poll, 1, true, 2},                        // live again: a new press captures
        {PressLive, 0, false, 1}, {Poll, 0, false, 1}, {Poll, 2, false, 1},
        {Poll, 1, false, 1},  // 2 marks the edge as seen
        {Poll, 0, false, 1},      {Poll, 1, true, 2},
    };
    int n = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(n++);
        if (step.act == PressLive) {
            QTest::mouseClick(Live(), Qt::LeftButton);
        } else {
            reader->next = {SnapShotStatus::Ok, step.value};
            ASSERT_TRUE(Polls(1));
            EXPECT_EQ(WorkFileExists(), step.captures);
        }
        EXPECT_EQ(Page().cameraState(), step.stateAfter);
        QFile::remove(Page().workFilePath());
    }
}

TEST_F(ImagePageDevices, PollRunsOnlyWhileACameraIsOpenOnThePage)
{
    TestCameraVariable none(nullptr);
    MakeScripted();
    ASSERT_TRUE(CameraOpens());
    EXPECT_TRUE(PollTimer()->isActive());
    mainWindow->host().SelectTab(PageScale);
    EXPECT_FALSE(PollTimer()->isActive());
    mainWindow->host().SelectTab(PageImage);
    EXPECT_TRUE(CameraOpens());
    EXPECT_TRUE(PollTimer()->isActive());
    Page().OpenCamera(-1, mainWindow->host().liveView());
    EXPECT_FALSE(PollTimer()->isActive());
}

TEST_F(ImagePageDevices, KeyDeviceOfTheOpenCameraIsFoundAndItsFailureToldOncePerOpen)
{
    TestCameraVariable none(nullptr);
    // The camera's USB device carries the video node and an input device.
    FakeSysfs sys;
    const auto usb = sys.UsbDevice("1-4");
    sys.Video(usb, 42);
    sys.Input(usb / "1-4:1.0", 9, 7);
    const std::string keyNode = (std::filesystem::path(dir.path().toStdString()) / "dev/input/event7").string();
    auto evdev = std::make_shared<FakeEvdevBackend>();
    FakeEvdevBackend::Node &key = evdev->AddNode(keyNode);
    key.opens = false;
    MakeWith([&](DeviceAccess &d) {
        d.evdev = evdev;
        d.sysfsRoot = sys.root();
        d.devRoot = std::filesystem::path(dir.path().toStdString()) / "dev";
    });
    ASSERT_TRUE(CameraOpens());
    ASSERT_TRUE(Polls(3));
    // Searched at every poll, told once.
    EXPECT_GE(evdev->opened().size(), 3u);
    EXPECT_EQ(evdev->opened().front(), keyNode);
    EXPECT_EQ(prompter.messageTexts(), QStringList{kSnapShotOpenFailedText});

    // Each open tells it again, once.
    Page().OpenCamera(Page().defaultCameraIndex(), mainWindow->host().liveView());
    ASSERT_TRUE(Polls(2));
    EXPECT_EQ(prompter.messageTexts(), QStringList({kSnapShotOpenFailedText, kSnapShotOpenFailedText}));

    // The key device comes: a tap between two polls captures once.
    key.opens = true;
    ASSERT_TRUE(Polls(1));
    EXPECT_EQ(Page().cameraState(), 1);
    evdev->Tap(keyNode);
    ASSERT_TRUE(Polls(1));
    EXPECT_EQ(Page().cameraState(), 2);
    EXPECT_TRUE(WorkFileExists());
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(ImagePageDevices, ButtonPressCapturesWhenLiveAndIsDroppedWhenFrozen)
{
    TestCameraVariable camera("smpte");
    SetTestCamerasListed(false);
    hid->SetDevices(std::vector<HidDeviceInfo>{{"/dev/hidraw3", 2, false}, {"/dev/hidraw4", 2, false}});
    MakeWith({});
    ASSERT_TRUE(CameraOpens());
    ASSERT_TRUE(QTest::qWaitFor([this] { return hid->readsStarted() > 0; }, 5000));
    EXPECT_EQ(hid->opened(), std::vector<std::string>{"/dev/hidraw3"});

    // Two presses (and a release) within one poll: one capture.
    hid->Feed({0x01});
    hid->Feed({0x00});
    hid->Feed({0x01});
    ASSERT_TRUE(QTest::qWaitFor([this] { return Page().cameraState() == 2; }, 5000));
    EXPECT_TRUE(WorkFileExists());
    QFile::remove(Page().workFilePath());

    // A press while frozen is used up by the next poll, not kept for later.
    hid->Feed({0x01});
    ASSERT_TRUE(QTest::qWaitFor([this] { return hid->pendingReports() == 0; }, 5000));
    ASSERT_TRUE(Polls(2));
    EXPECT_FALSE(WorkFileExists());
    QTest::mouseClick(Live(), Qt::LeftButton);
    ASSERT_EQ(Page().cameraState(), 1);
    ASSERT_TRUE(Polls(2));
    EXPECT_EQ(Page().cameraState(), 1);
    EXPECT_FALSE(WorkFileExists());

    // The page's end stops the reader and closes the device.
    mainWindow.reset();
    EXPECT_EQ(hid->liveConnections(), 0);
}

TEST_F(ImagePageDevices, UnavailableDeviceListIsToldAndTheCameraStillWorks)
{
    TestCameraVariable camera("smpte");
    SetTestCamerasListed(false);
    hid->SetDevices(std::nullopt);
    MakeWith({});
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, kHidListFailedText);
    EXPECT_EQ(prompter.messages[0].caption, kHidListFailedCaption);
    EXPECT_TRUE(CameraOpens());
    EXPECT_TRUE(PollTimer()->isActive());
}

TEST_F(ImagePageDevices, ImageSettingAppliesTheCameraControlsLive)
{
    TestCameraVariable none(nullptr);
    QString openedNode;
    std::map<std::uint32_t, int> applied;
    MakeWith([&](DeviceAccess &d) {
        d.openControls = [&](const QString &node, QString *) -> std::unique_ptr<ControlDevice> {
            openedNode = node;
            auto device = std::make_unique<FakeDevice>();
            device->Add(V4L2_CID_BRIGHTNESS, "Brightness", V4L2_CTRL_TYPE_INTEGER, -64, 64, 0, 0);
            device->afterSet = [&](std::uint32_t id, int value) { applied[id] = value; };
            return device;
        };
    });
    ASSERT_TRUE(CameraOpens());
    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<CameraControlsDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->slider(V4L2_CID_BRIGHTNESS)->setValue(25);
        dialog->reject();
    });
    QTest::mouseClick(Child<QPushButton>("button1003"), Qt::LeftButton);
    EXPECT_EQ(openedNode, QLatin1String(kSnapshotCameraNode));
    EXPECT_EQ(applied[V4L2_CID_BRIGHTNESS], 25);
    EXPECT_EQ(Page().cameraState(), 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(ImagePageDevices, OutputSettingRebuildsAtTheChosenSizeAndGoesLive)
{
    TestCameraVariable none(nullptr);
    MakeWith({});
    ASSERT_TRUE(CameraOpens());
    const int index = Page().cameraGraph().deviceIndex();
    QTest::mouseClick(Child<QCheckBox>("check1016"), Qt::LeftButton);  // the cross on
    QTest::mouseClick(Live(), Qt::LeftButton);
    ASSERT_EQ(Page().cameraState(), 2);

    QTimer::singleShot(0, [] {
        auto *dialog = qobject_cast<CameraFormatDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        const auto hits = dialog->sizeList()->findItems("1280 x 1024", Qt::MatchExactly);
        ASSERT_EQ(hits.size(), 1);
        dialog->sizeList()->setCurrentItem(hits.front());
        dialog->findChild<QPushButton *>("okButton")->click();
    });
    QTest::mouseClick(Child<QPushButton>("button1004"), Qt::LeftButton);
    ASSERT_TRUE(CameraOpens());
    EXPECT_EQ(Child<QLabel>("static1029")->text(), "1280 x 1024");
    EXPECT_EQ(Page().cameraGraph().deviceIndex(), index);
    EXPECT_EQ(Page().cameraState(), 1);
    EXPECT_TRUE(Live()->isChecked());
    EXPECT_TRUE(PollTimer()->isActive());
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return Page().cameraGraph().currentFrame().size() == QSize(1280, 1024); }, 5000));
    EXPECT_EQ(Page().guideWindow()->parentWidget(), mainWindow->host().liveView());
    EXPECT_TRUE(Page().guideWindow()->isVisibleTo(mainWindow->host().liveView()));
}

TEST_F(ImagePageDevices, CameraFailingWhileLiveReturnsThePageToNoCamera)
{
    TestCameraVariable none(nullptr);
    struct Case {
        const char *language;
        QString says;
    };
    const Case cases[] = {{"en", "The camera stopped ("}, {"ja", "カメラが停止しました（"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.language);
        prompter.messages.clear();
        MakeWith({}, c.language);
        ASSERT_TRUE(CameraOpens());
        auto *combo = Child<QComboBox>("combo1007");
        ASSERT_EQ(combo->itemText(combo->currentIndex() + 1), "Failing Cam");
        // The user picks the next camera; it opens, then fails after a few frames.
        QSignalSpy opened(&Page().cameraGraph(), &CameraGraph::openFinished);
        QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentText(), "Failing Cam");
        ASSERT_TRUE(opened.wait(10000));
        EXPECT_TRUE(opened.at(0).at(0).toBool());
        ASSERT_TRUE(QTest::qWaitFor([this] { return Page().cameraState() == 0; }, 10000));
        EXPECT_FALSE(View().picture().isNull());
        EXPECT_FALSE(Live()->isChecked());
        for (const char *name : {"button1030", "button1001", "button1003", "button1004", "combo1007"})
            EXPECT_FALSE(Child<QWidget>(name)->isEnabled()) << name;
        EXPECT_FALSE(PollTimer()->isActive());
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_TRUE(prompter.messages[0].text.startsWith(c.says)) << prompter.messages[0].text.toStdString();
        mainWindow.reset();
    }
}

// While a camera withholds its first frame the page answers, its camera
// controls waiting: an event handled meanwhile lets the frame through, or
// the start time-out ends the open.
TEST_F(ImagePageDevices, PageAnswersWhileACameraWithholdsItsFirstFrame)
{
    TestCameraVariable none(nullptr);
    const struct {
        const char *what;
        bool frameComes;
        std::chrono::milliseconds timeout;
        QStringList messages;
    } cases[] = {
        {"first frame comes", true, std::chrono::milliseconds(10000), {}},
        {"no frame in time", false, std::chrono::milliseconds(300), {QString::fromUtf8(camera_messages::kDevice)}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        prompter.messages.clear();
        MakeWith({});
        ASSERT_TRUE(CameraOpens());
        Page().cameraGraph().setStartTimeout(c.timeout);
        auto *combo = Child<QComboBox>("combo1007");
        // Posted before the choice: it runs while the chosen camera starts.
        std::optional<bool> opening;
        bool controlsHeld = false;
        QTimer::singleShot(0, mainWindow.get(), [&] {
            opening = Page().cameraGraph().state() == CameraGraph::State::Opening && prompter.messages.empty();
            controlsHeld = !combo->isEnabled();
            if (c.frameComes)
                OpenHeldCameraGate();
        });
        QTest::keyClick(combo, Qt::Key_End);
        ASSERT_EQ(combo->currentText(), "Held Cam");
        ASSERT_TRUE(QTest::qWaitFor([&] { return opening.has_value(); }, 5000));
        EXPECT_TRUE(*opening);
        EXPECT_TRUE(controlsHeld);
        ASSERT_TRUE(QTest::qWaitFor([&] { return Page().cameraState() == 1 || !prompter.messages.empty(); }, 10000));
        EXPECT_EQ(Page().cameraState(), c.frameComes ? 1 : 0);
        EXPECT_EQ(Live()->isChecked(), c.frameComes);
        EXPECT_EQ(combo->isEnabled(), c.frameComes);
        EXPECT_EQ(mainWindow->host().liveView()->isVisibleTo(mainWindow.get()), c.frameComes);
        EXPECT_EQ(prompter.messageTexts(), c.messages);
        mainWindow.reset();
    }
}

TEST_F(ImagePageDevices, WirelessModePausesTheOpenCameraAndResumesIt)
{
    TestCameraVariable camera("ball");
    SetTestCamerasListed(false);
    MakeWith({});
    ASSERT_TRUE(CameraOpens());
    CameraGraph &graph = Page().cameraGraph();
    QSignalSpy frames(&graph, &CameraGraph::frameReady);
    ASSERT_TRUE(frames.wait(5000));

    QTest::mouseClick(Child<QPushButton>("button1039"), Qt::LeftButton);
    EXPECT_EQ(Page().wirelessMode(), 1);
    EXPECT_EQ(graph.state(), CameraGraph::State::Paused);
    EXPECT_EQ(Page().cameraState(), 2);
    EXPECT_FALSE(Live()->isChecked());
    const QImage frozen = View().picture();

    QTest::mouseClick(Child<QPushButton>("button1039"), Qt::LeftButton);
    EXPECT_EQ(Page().wirelessMode(), 0);
    EXPECT_EQ(graph.state(), CameraGraph::State::Running);
    EXPECT_EQ(Page().cameraState(), 1);
    EXPECT_TRUE(Live()->isChecked());
    // The ball moves again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return View().picture() != frozen; }, 5000));
}

// A UDP socket holding a port on every address, as another program would.
class PortHolder {
public:
    PortHolder() :
        fd_(::socket(AF_INET, SOCK_DGRAM, 0))
    {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t len = sizeof addr;
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0
            && ::getsockname(fd_, reinterpret_cast<sockaddr *>(&addr), &len) == 0)
            port_ = ntohs(addr.sin_port);
    }
    ~PortHolder() { Release(); }
    void Release()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    std::uint16_t port() const { return port_; }

private:
    int fd_;
    std::uint16_t port_ = 0;
};

TEST_F(ImagePageDevices, BusyWirelessPortIsToldWhenWirelessModeStarts)
{
    SetTestCamerasListed(false);
    // With a camera open, wireless mode pauses it; leaving gives it back live.
    struct Case {
        const char *language;
        QString says;
        const char *camera;
    };
    const Case cases[] = {{"en", "UDP port %1 cannot be used", nullptr},
                          {"ja", "UDP ポート %1 を使用できません", "smpte"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.language);
        TestCameraVariable camera(c.camera);
        prompter.messages.clear();
        PortHolder holder;
        ASSERT_NE(holder.port(), 0);
        WindowEnvironment env = Env(c.language, c.language);
        env.wirelessPort = holder.port();
        mainWindow = std::make_unique<MainWindow>(std::move(env));
        mainWindow->show();
        const int cameraState = c.camera ? 1 : 0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return Page().cameraState() == cameraState; }, 10000));
        EXPECT_TRUE(prompter.messages.empty());  // nothing said until wireless mode is wanted
        auto *nimbra = Child<QPushButton>("button1039");
        QTest::mouseClick(nimbra, Qt::LeftButton);
        QCoreApplication::processEvents();
        ASSERT_EQ(prompter.messages.size(), 1u);
        EXPECT_TRUE(prompter.messages[0].text.contains(c.says.arg(holder.port())))
            << prompter.messages[0].text.toStdString();

        // Nothing can come: the page leaves wireless mode, its toggle up again.
        EXPECT_EQ(Page().wirelessMode(), 0);
        EXPECT_FALSE(nimbra->isChecked());
        EXPECT_TRUE(Child<QWidget>("group1022")->isVisibleTo(&Page()));
        EXPECT_FALSE(Child<QWidget>("group1040")->isVisibleTo(&Page()));
        EXPECT_EQ(mainWindow->host().liveView()->isVisible(), c.camera != nullptr);
        EXPECT_EQ(Page().cameraState(), cameraState);
        EXPECT_EQ(Live()->isChecked(), c.camera != nullptr);

        // Once the other program lets go, switching on again listens.
        holder.Release();
        QTest::mouseClick(nimbra, Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(prompter.messages.size(), 1u);
        EXPECT_EQ(Page().wirelessMode(), 1);
        ASSERT_NE(mainWindow->wirelessReceiver(), nullptr);
        EXPECT_TRUE(mainWindow->wirelessReceiver()->started());
        EXPECT_EQ(mainWindow->wirelessReceiver()->port(), holder.port());
        mainWindow.reset();
    }
}

}  // namespace
}  // namespace orv::test
