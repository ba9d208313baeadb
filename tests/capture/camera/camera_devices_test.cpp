// The camera list through the real device monitor (a test provider offers
// the devices), and the pure pieces of listing: test-pattern setting,
// default choice, offered sizes.
#include <gtest/gtest.h>

#include "capture/camera/camera_devices.h"
#include "tests/capture/camera/camera_test_provider.h"

namespace orv {
namespace {

TEST(CameraDevices, TestPatternSettingIsParsed)
{
    struct Case {
        const char *text;
        std::optional<TestPatternSetting> expected;
    };
    const Case cases[] = {
        {"smpte", TestPatternSetting{"smpte", {640, 480}}},
        {"ball:1280x720", TestPatternSetting{"ball", {1280, 720}}},
        {" snow:642x482 ", TestPatternSetting{"snow", {642, 482}}},
        {"", std::nullopt},
        {"ball:", std::nullopt},
        {"ball:0x720", std::nullopt},
        {"ball:1280x", std::nullopt},
        // Sizes beyond the image size limit are the camera's to refuse, with a message.
        {"ball:99999x720", TestPatternSetting{"ball", {99999, 720}}},
        {"ball:123456x720", std::nullopt},
        {"ball:1280x720:9", std::nullopt},
        {"ball 1280x720", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseTestCamera(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(CameraDevices, KnownPatternsAreThoseOfVideotestsrc)
{
    EXPECT_TRUE(IsKnownTestPattern("smpte"));
    EXPECT_TRUE(IsKnownTestPattern("ball"));
    EXPECT_FALSE(IsKnownTestPattern("no-such-pattern"));
}

TEST(CameraDevices, DefaultCameraIsKestraThenFirstAndSurvivesRefills)
{
    struct Case {
        QStringList names;
        int current;
        int expected;
    };
    const Case cases[] = {
        {{}, -1, -1},
        {{"Other Cam"}, -1, 0},
        {{"Other Cam", "Kestra USB Shot"}, -1, 1},
        {{"Other Cam", "Kestra X", "Kestra USB Shot"}, -1, 1},
        {{"Other Cam", "kestra lower case"}, -1, 0},
        // A choice made earlier stays while it is in the list.
        {{"Kestra USB Shot", "Other Cam"}, 1, 1},
        {{"Other Cam", "Kestra USB Shot"}, 0, 0},
        // A choice beyond a shorter list falls back.
        {{"Other Cam", "Kestra USB Shot"}, 5, 1},
        {{}, 0, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChooseDefaultCamera(c.names, c.current), c.expected) << c.names.join(", ").toStdString();
}

TEST(CameraDevices, MonitorListsProviderDevicesInOrderWithoutGoogle)
{
    test::RegisterTestCameraProvider();
    const CameraListing listing = ListCameras(std::nullopt);
    ASSERT_TRUE(listing.monitorCreated);
    QStringList names;
    for (const CameraDevice &camera : listing.cameras)
        names << camera.name;
    // Only the test provider's cameras can be assumed on a test machine.
    QStringList ours;
    for (const QString &name : names)
        if (test::TestCameraNames().contains(name))
            ours << name;
    QStringList expected = test::TestCameraNames();
    expected.removeFirst();
    EXPECT_EQ(ours, expected);
    for (const QString &name : names)
        EXPECT_FALSE(name.startsWith("Google")) << name.toStdString();
}

TEST(CameraDevices, TestPatternCameraJoinsTheEndOfTheList)
{
    test::RegisterTestCameraProvider();
    const CameraListing with = ListCameras(TestPatternSetting{"smpte", {1280, 720}});
    ASSERT_FALSE(with.cameras.empty());
    EXPECT_EQ(with.cameras.back().name, kTestCameraName);
    ASSERT_TRUE(with.cameras.back().testPattern);
    EXPECT_EQ(with.cameras.back().testPattern->size, QSize(1280, 720));

    const CameraListing unknown = ListCameras(TestPatternSetting{"no-such-pattern", {640, 480}});
    const CameraListing without = ListCameras(std::nullopt);
    EXPECT_EQ(unknown.cameras.size(), without.cameras.size());
    EXPECT_EQ(with.cameras.size(), without.cameras.size() + 1);
}

TEST(CameraDevices, DeviceNodeComesFromTheDeviceProperties)
{
    test::RegisterTestCameraProvider();
    const CameraListing listing = ListCameras(TestPatternSetting{"smpte", {640, 480}});
    for (const CameraDevice &camera : listing.cameras) {
        if (camera.name == "Broken Cam") {
            EXPECT_EQ(DeviceNode(camera), test::kBrokenCameraNode);
        } else if (camera.name == kSnapshotCameraName) {
            EXPECT_EQ(DeviceNode(camera), test::kSnapshotCameraNode);
        } else if (camera.name == "Other Cam" || camera.testPattern) {
            EXPECT_TRUE(DeviceNode(camera).isEmpty()) << camera.name.toStdString();
        }
    }
}

gst::CapsPtr Caps(const char *text)
{
    gst::EnsureInitialised();
    return gst::CapsPtr(gst_caps_from_string(text));
}

TEST(CameraDevices, OfferedSizesFromFixedListedAndRangedCaps)
{
    struct Case {
        const char *caps;
        std::vector<QSize> expected;
    };
    const Case cases[] = {
        {"video/x-raw,width=1280,height=720; video/x-raw,width=640,height=480; image/jpeg,width=1280,height=720",
         {{640, 480}, {1280, 720}}},
        {"video/x-raw,width={ 320, 640 },height=480", {{320, 480}, {640, 480}}},
        {"video/x-raw,width=[ 300, 700 ],height=[ 200, 500 ]", {{320, 240}, {352, 288}, {640, 360}, {640, 480}}},
        {"video/x-raw,width=[ 640, 1280, 640 ],height=[ 480, 960, 480 ]", {{640, 480}, {1280, 960}}},
        {"video/x-raw,format=BGR", {}},
        {"EMPTY", {}},
    };
    for (const Case &c : cases) {
        const gst::CapsPtr caps = Caps(c.caps);
        ASSERT_TRUE(caps) << c.caps;
        EXPECT_EQ(OfferedSizes(caps.get()), c.expected) << c.caps;
    }
    EXPECT_TRUE(OfferedSizes(nullptr).empty());
}

TEST(CameraDevices, JpegOnlySizesNeedADecoder)
{
    const gst::CapsPtr caps =
        Caps("video/x-raw,width=640,height=480; image/jpeg,width=640,height=480; image/jpeg,width=1920,height=1080");
    EXPECT_FALSE(OfferedOnlyAsJpeg(caps.get(), {640, 480}));
    EXPECT_TRUE(OfferedOnlyAsJpeg(caps.get(), {1920, 1080}));
    EXPECT_FALSE(OfferedOnlyAsJpeg(caps.get(), {800, 600}));

    struct Case {
        const char *caps;
        QSize forced;
        bool decoder;
    };
    const Case cases[] = {
        {"image/jpeg,width=640,height=480", {}, true},
        {"image/jpeg,width=640,height=480; video/x-raw,width=320,height=240", {}, false},
        {"image/jpeg,width=640,height=480; video/x-raw,width=320,height=240", {640, 480}, true},
        {"image/jpeg,width=640,height=480; video/x-raw,width=320,height=240", {320, 240}, false},
        {"video/x-raw,width=320,height=240", {}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(NeedsJpegDecoder(Caps(c.caps).get(), c.forced), c.decoder) << c.caps;
    EXPECT_FALSE(NeedsJpegDecoder(nullptr, {}));
}

}  // namespace
}  // namespace orv
