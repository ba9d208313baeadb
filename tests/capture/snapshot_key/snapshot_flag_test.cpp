#include "capture/snapshot_key/snapshot_flag.h"
#include "capture/snapshot_key/snapshot_sysfs.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "tests/support/fake_evdev.h"
#include "tests/support/fake_sysfs.h"

using namespace orv;
using namespace orv::test;
namespace fs = std::filesystem;

namespace {

class CountingReader : public SnapShotFlagReader {
public:
    using SnapShotFlagReader::SnapShotFlagReader;
    int acknowledgements = 0;

protected:
    void AcknowledgeSnapShot() override { ++acknowledgements; }
};

}  // namespace

TEST(CameraInputNodes, OnlyTheCamerasOwnUsbDeviceCounts)
{
    FakeSysfs sys;
    const auto camera = sys.UsbDevice("1-2");
    sys.Video(camera, 0);
    sys.Input(camera / "1-2:1.0", 12, 11);    // the camera's key
    sys.Input(camera / "1-2:1.0", 5, 3);      // listed before the key by its number
    const auto other = sys.UsbDevice("1-3");  // a keyboard elsewhere
    sys.Input(other / "1-3:1.0", 7, 4);
    const auto lookalike = sys.UsbDevice("1-20");  // its path starts with the camera's text
    sys.Video(lookalike, 2);
    sys.Input(lookalike / "1-20:1.0", 8, 9);
    // A video node that is not on USB.
    fs::create_directories(sys.root() / "devices" / "virtual" / "video4linux" / "video1");
    fs::create_directory_symlink(sys.root() / "devices" / "virtual" / "video4linux" / "video1",
                                 sys.root() / "class" / "video4linux" / "video1");

    struct Case {
        const char *node;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"/dev/video0", {"/dev/input/event3", "/dev/input/event11"}},
        {"/dev/video2", {"/dev/input/event9"}},
        {"/dev/video1", {}},
        {"/dev/video7", {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.node);
        EXPECT_EQ(FindCameraInputNodes(sys.root(), c.node), c.expected);
    }
    EXPECT_TRUE(FindCameraInputNodes(sys.root() / "missing", "/dev/video0").empty());
}

TEST(SnapShotFlagReader, ReadsTheFirstCameraKeyOfTheOpenCamera)
{
    FakeSysfs sys;
    const auto camera = sys.UsbDevice("2-1");
    sys.Video(camera, 0);
    sys.Input(camera / "2-1:1.0", 3, 4);
    sys.Input(camera / "2-1:1.0", 4, 5);
    sys.Input(camera / "2-1:1.0", 5, 6);
    auto evdev = std::make_shared<FakeEvdevBackend>();
    evdev->AddNode("/dev/input/event4").hasCameraKey = false;
    evdev->AddNode("/dev/input/event5");
    evdev->AddNode("/dev/input/event6");

    CountingReader reader(evdev, sys.root());
    EXPECT_EQ(reader.ReadSnapShotFlag().status, SnapShotStatus::NoDevice);  // no camera yet
    reader.SetCameraNode("/dev/video0");

    struct Step {
        const char *name;
        std::function<void()> act;
        std::uint32_t value;
    };
    const Step steps[] = {
        {"idle", [] {}, 0},          {"tap between polls", [&] { evdev->Tap("/dev/input/event5"); }, 1},
        {"after the tap", [] {}, 0}, {"held down", [&] { evdev->Hold("/dev/input/event5", true); }, 1},
        {"still held", [] {}, 1},    {"released", [&] { evdev->Hold("/dev/input/event5", false); }, 0},
    };
    int expectedAcks = 0;
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        const auto read = reader.ReadSnapShotFlag();
        EXPECT_EQ(read.status, SnapShotStatus::Ok);
        EXPECT_EQ(read.value, step.value);
        expectedAcks += step.value != 0;
        EXPECT_EQ(reader.acknowledgements, expectedAcks);
    }
    // Searched once; the device stays open between reads.
    EXPECT_EQ(evdev->opened(), (std::vector<std::string>{"/dev/input/event4", "/dev/input/event5"}));
    EXPECT_EQ(evdev->node("/dev/input/event6").reads, 0);
}

TEST(SnapShotFlagReader, FailuresAreResultsAndTheDeviceIsSoughtAgain)
{
    FakeSysfs sys;
    const auto camera = sys.UsbDevice("1-4");
    sys.Video(camera, 3);
    sys.Input(camera / "1-4:1.0", 9, 9);
    auto evdev = std::make_shared<FakeEvdevBackend>();
    auto &key = evdev->AddNode("/dev/input/event9");
    key.opens = false;  // no permission, say

    SnapShotFlagReader reader(evdev, sys.root());
    reader.SetCameraNode("/dev/video3");
    EXPECT_EQ(reader.ReadSnapShotFlag().status, SnapShotStatus::NoDevice);

    key.opens = true;
    EXPECT_EQ(reader.ReadSnapShotFlag().status, SnapShotStatus::Ok);
    key.fails = true;  // unplugged
    EXPECT_EQ(reader.ReadSnapShotFlag().status, SnapShotStatus::Unreadable);
    key.fails = false;
    EXPECT_EQ(reader.ReadSnapShotFlag().status, SnapShotStatus::Ok);
    EXPECT_EQ(evdev->opened().size(), 3u);

    reader.SetCameraNode("");
    EXPECT_EQ(reader.ReadSnapShotFlag().status, SnapShotStatus::NoDevice);
}

TEST(SnapShotMessageOnce, OneMessagePerCameraOpen)
{
    SnapShotMessageOnce messages;
    EXPECT_EQ(messages.MessageFor(SnapShotStatus::Ok), std::nullopt);
    EXPECT_EQ(messages.MessageFor(SnapShotStatus::NoDevice), kSnapShotOpenFailedText);
    EXPECT_EQ(messages.MessageFor(SnapShotStatus::NoDevice), std::nullopt);
    EXPECT_EQ(messages.MessageFor(SnapShotStatus::Unreadable), std::nullopt);

    messages.CameraOpened();
    EXPECT_EQ(messages.MessageFor(SnapShotStatus::Unreadable), kSnapShotReadFailedText);
    EXPECT_EQ(messages.MessageFor(SnapShotStatus::NoDevice), std::nullopt);
}
