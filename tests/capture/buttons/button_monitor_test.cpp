#include "capture/buttons/button_detection.h"
#include "capture/buttons/button_detection_monitor.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/capture/capture_test_util.h"
#include "tests/support/fake_hid.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

class PressCounter : public QObject {
public:
    int presses = 0;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == ButtonPressedMessage)
            ++presses;
        return QObject::event(e);
    }
};

HidDeviceInfo Device(std::string path, std::uint16_t length = 2, bool numbered = false)
{
    return HidDeviceInfo{std::move(path), length, numbered};
}

// Feeds one report and returns once the reader has handled it (its next read began).
void FeedAndSettle(FakeHidBackend &hid, std::vector<std::uint8_t> report)
{
    hid.Feed(std::move(report));
    ASSERT_TRUE(WaitUntil([&] { return hid.pendingReports() == 0; }));
    const int taken = hid.readsStarted();
    ASSERT_TRUE(WaitUntil([&] { return hid.readsStarted() > taken; }));
}

}  // namespace

TEST(ButtonDetectionMonitor, OnlyAReportReading0001IsAPress)
{
    struct Case {
        const char *name;
        bool numbered;
        std::uint16_t length;
        std::vector<std::uint8_t> delivered;
        int presses;
        std::size_t readSize;
    };
    const Case cases[] = {
        {"unnumbered press reads 00 01", false, 2, {0x01}, 1, 1},
        {"unnumbered release reads 00 00", false, 2, {0x00}, 0, 1},
        {"longer unnumbered press", false, 9, {0x01, 0x00, 0x7F, 0, 0, 0, 0, 0}, 1, 8},
        {"numbered report 01 01", true, 2, {0x01, 0x01}, 0, 2},
        {"numbered report 02 01", true, 3, {0x02, 0x01, 0x00}, 0, 3},
        {"descriptor unknown, unnumbered press", false, 0, {0x01}, 1, 64},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto hid = std::make_shared<FakeHidBackend>();
        hid->SetDevices(std::vector{Device("/dev/hidraw1", c.length, c.numbered)});
        PressCounter target;
        ButtonDetectionMonitor monitor(&target, hid);
        ASSERT_EQ(monitor.StartMonitor(), ButtonDetectionMonitor::StartResult::Started);
        FeedAndSettle(*hid, c.delivered);
        QCoreApplication::sendPostedEvents(&target);
        EXPECT_EQ(target.presses, c.presses);
        EXPECT_EQ(hid->lastReadSize(), c.readSize);
    }
}

TEST(ButtonDetectionMonitor, StopWithoutReportsEndsTheReaderPromptly)
{
    auto hid = std::make_shared<FakeHidBackend>();
    hid->SetDevices(std::vector{Device("/dev/hidraw1")});
    PressCounter target;
    ButtonDetectionMonitor monitor(&target, hid);
    ASSERT_EQ(monitor.StartMonitor(), ButtonDetectionMonitor::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return hid->readsStarted() > 0; }));

    const auto took = TimeOf([&] { monitor.StopMonitor(); });
    EXPECT_LT(took, ButtonDetectionMonitor::kStopWait);
    EXPECT_FALSE(monitor.running());
    // The reader ended (and closed the device) rather than being left behind.
    EXPECT_EQ(hid->liveConnections(), 0);
}

TEST(ButtonDetectionMonitor, AReaderStuckPastTheStopWaitKeepsItsOwnState)
{
    auto hid = std::make_shared<FakeHidBackend>();
    hid->SetDevices(std::vector{Device("/dev/hidraw1")});
    hid->Stick();
    {
        PressCounter target;
        auto monitor = std::make_unique<ButtonDetectionMonitor>(&target, hid);
        ASSERT_EQ(monitor->StartMonitor(), ButtonDetectionMonitor::StartResult::Started);
        ASSERT_TRUE(WaitUntil([&] { return hid->readsStarted() > 0; }));

        const auto took = TimeOf([&] { monitor.reset(); });
        EXPECT_GE(took, ButtonDetectionMonitor::kStopWait - 50ms);
        EXPECT_LT(took, 5s);
        EXPECT_EQ(hid->liveConnections(), 1);  // still reading
    }
    // Monitor and target are gone; the read now returns a press.
    hid->Feed({0x01});
    hid->Unstick();
    // The thread ends by itself and frees the block it shared (holding the backend).
    ASSERT_TRUE(WaitUntil([&] { return hid->liveConnections() == 0 && hid.use_count() == 1; }));
    QCoreApplication::sendPostedEvents();
}

TEST(ButtonDetectionMonitor, DeviceFailuresLeaveTheReaderWaitingForTheStop)
{
    for (const bool openFails : {true, false}) {
        SCOPED_TRACE(openFails ? "open fails" : "unplugged while reading");
        auto hid = std::make_shared<FakeHidBackend>();
        hid->SetDevices(std::vector{Device("/dev/hidraw1")});
        hid->SetOpenFails(openFails);
        PressCounter target;
        ButtonDetectionMonitor monitor(&target, hid);
        ASSERT_EQ(monitor.StartMonitor(), ButtonDetectionMonitor::StartResult::Started);
        ASSERT_TRUE(WaitUntil([&] { return !hid->opened().empty(); }));
        if (!openFails) {
            ASSERT_TRUE(WaitUntil([&] { return hid->readsStarted() > 0; }));
            hid->Unplug();
            ASSERT_TRUE(WaitUntil([&] { return hid->liveConnections() == 0; }));
        }
        const int reads = hid->readsStarted();
        std::this_thread::sleep_for(50ms);  // a spinning reader would read again here
        EXPECT_EQ(hid->readsStarted(), reads);
        EXPECT_LT(TimeOf([&] { monitor.StopMonitor(); }), ButtonDetectionMonitor::kStopWait);
    }
}

TEST(ButtonDetectionMonitor, TheFirstMatchingDeviceIsRead)
{
    auto hid = std::make_shared<FakeHidBackend>();
    hid->SetDevices(std::vector{Device("/dev/hidraw4"), Device("/dev/hidraw2")});
    PressCounter target;
    ButtonDetectionMonitor monitor(&target, hid);
    ASSERT_EQ(monitor.StartMonitor(), ButtonDetectionMonitor::StartResult::Started);
    ASSERT_TRUE(WaitUntil([&] { return !hid->opened().empty(); }));
    monitor.StopMonitor();
    EXPECT_EQ(hid->opened(), std::vector<std::string>{"/dev/hidraw4"});
}

TEST(ButtonDetection, WithoutTheDeviceNoReaderRunsAndTheFlagStillWorks)
{
    struct Case {
        const char *name;
        std::optional<std::vector<HidDeviceInfo>> devices;
        ButtonDetectionMonitor::StartResult result;
    };
    const Case cases[] = {
        {"absent", std::vector<HidDeviceInfo>{}, ButtonDetectionMonitor::StartResult::NoDevice},
        {"no device list", std::nullopt, ButtonDetectionMonitor::StartResult::DeviceListUnavailable},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto hid = std::make_shared<FakeHidBackend>();
        hid->SetDevices(c.devices);
        std::int32_t flag = 0;
        ButtonDetection detection(hid);
        detection.RegisterButtonFlag(&flag);
        EXPECT_EQ(detection.StartButtonPressDetection(), c.result);
        EXPECT_FALSE(detection.readerRunning());
        EXPECT_TRUE(hid->opened().empty());
        ASSERT_NE(detection.window(), nullptr);
        QCoreApplication::postEvent(detection.window(), new QEvent(ButtonPressedMessage));
        QCoreApplication::sendPostedEvents(detection.window());
        EXPECT_EQ(flag, 1);
    }
}

TEST(ButtonDetection, SearchesOncePerStartAndASecondStartDoesNothing)
{
    auto hid = std::make_shared<FakeHidBackend>();
    hid->SetDevices(std::vector{Device("/dev/hidraw1")});
    ButtonDetection detection(hid);
    EXPECT_EQ(detection.StartButtonPressDetection(), ButtonDetectionMonitor::StartResult::Started);
    EXPECT_EQ(detection.StartButtonPressDetection(), ButtonDetectionMonitor::StartResult::AlreadyRunning);
    EXPECT_EQ(hid->enumerations(), 1);

    detection.StopButtonPressDetection();
    EXPECT_FALSE(detection.started());
    EXPECT_EQ(detection.window(), nullptr);
    EXPECT_EQ(hid->liveConnections(), 0);

    // A device plugged in later is found by the next start only.
    hid->SetDevices(std::vector{Device("/dev/hidraw7")});
    EXPECT_EQ(detection.StartButtonPressDetection(), ButtonDetectionMonitor::StartResult::Started);
    EXPECT_EQ(hid->enumerations(), 2);
    ASSERT_TRUE(WaitUntil([&] { return hid->opened().size() == 2; }));
    EXPECT_EQ(hid->opened().back(), "/dev/hidraw7");
}

TEST(ButtonDetection, PressesSetTheRegisteredFlagOnTheUiThread)
{
    auto hid = std::make_shared<FakeHidBackend>();
    hid->SetDevices(std::vector{Device("/dev/hidraw1")});
    std::int32_t flag = 0;
    ButtonDetection detection(hid);
    detection.RegisterButtonFlag(&flag);
    ASSERT_EQ(detection.StartButtonPressDetection(), ButtonDetectionMonitor::StartResult::Started);

    FeedAndSettle(*hid, {0x00});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(flag, 0);  // posted events only: the reader never writes the flag

    FeedAndSettle(*hid, {0x01});
    FeedAndSettle(*hid, {0x01});
    EXPECT_EQ(flag, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(flag, 1);

    // Re-registering reaches the existing window.
    std::int32_t other = 0;
    detection.RegisterButtonFlag(&other);
    FeedAndSettle(*hid, {0x01});
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(other, 1);
}
