// The V4L2 control model against a fake device that answers the ioctls as a
// driver does.
#include <gtest/gtest.h>

#include <QStringList>

#include "capture/camera/camera_controls.h"
#include "tests/support/fake_control_device.h"

namespace orv {
namespace {

using test::FakeDevice;

void AddTypicalControls(FakeDevice &d)
{
    d.Add(V4L2_CID_BRIGHTNESS, "Brightness", V4L2_CTRL_TYPE_INTEGER, -64, 64, 0, 12);
    d.Add(V4L2_CID_CONTRAST, "Contrast", V4L2_CTRL_TYPE_INTEGER, 0, 95, 32, 40);
    d.Add(V4L2_CID_AUTO_WHITE_BALANCE, "White Balance, Automatic", V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1, 1);
    d.Add(V4L2_CID_WHITE_BALANCE_TEMPERATURE, "White Balance Temperature", V4L2_CTRL_TYPE_INTEGER, 2800, 6500, 4600,
          4600, V4L2_CTRL_FLAG_INACTIVE);
    d.Add(V4L2_CID_POWER_LINE_FREQUENCY, "Power Line Frequency", V4L2_CTRL_TYPE_MENU, 0, 2, 1, 2, 0,
          {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}});
    d.Add(V4L2_CID_HUE, "Hue (disabled)", V4L2_CTRL_TYPE_INTEGER, 0, 10, 0, 0, V4L2_CTRL_FLAG_DISABLED);
    d.Add(V4L2_CID_CAMERA_CLASS, "Camera Controls", V4L2_CTRL_TYPE_CTRL_CLASS, 0, 0, 0, 0);
    // A menu with a gap: index 2 is not offered.
    d.Add(V4L2_CID_EXPOSURE_AUTO, "Auto Exposure", V4L2_CTRL_TYPE_MENU, 0, 3, 3, 1, 0,
          {{0, "Auto Mode"}, {1, "Manual Mode"}, {3, "Aperture Priority Mode"}});
    d.Add(V4L2_CID_EXPOSURE_ABSOLUTE, "Exposure Time, Absolute", V4L2_CTRL_TYPE_INTEGER, 3, 2047, 250, 300);
    d.Add(V4L2_CID_ZOOM_ABSOLUTE, "Zoom (read only)", V4L2_CTRL_TYPE_INTEGER, 0, 10, 0, 5, V4L2_CTRL_FLAG_READ_ONLY);
}

TEST(CameraControls, ListsOfferedControlsWithRangesMenusAndValues)
{
    for (const bool nextCtrl : {true, false}) {
        FakeDevice device(nextCtrl);
        AddTypicalControls(device);
        const std::vector<CameraControl> controls = QueryControls(device);
        QStringList names;
        for (const CameraControl &c : controls)
            names << c.name;
        EXPECT_EQ(
            names,
            (QStringList{"Brightness", "Contrast", "White Balance, Automatic", "Power Line Frequency",
                         "White Balance Temperature", "Auto Exposure", "Exposure Time, Absolute", "Zoom (read only)"}))
            << "next " << nextCtrl;
        ASSERT_EQ(controls.size(), 8u);
        const CameraControl &brightness = controls[0];
        EXPECT_EQ(brightness.type, CameraControl::Type::Integer);
        EXPECT_EQ(brightness.minimum, -64);
        EXPECT_EQ(brightness.maximum, 64);
        EXPECT_EQ(brightness.defaultValue, 0);
        EXPECT_EQ(brightness.value, 12);
        EXPECT_EQ(controls[2].type, CameraControl::Type::Boolean);
        EXPECT_TRUE(controls[4].inactive);
        const CameraControl &exposure = controls[5];
        EXPECT_EQ(exposure.type, CameraControl::Type::Menu);
        const std::vector<std::pair<int, QString>> menu{
            {0, "Auto Mode"}, {1, "Manual Mode"}, {3, "Aperture Priority Mode"}};
        EXPECT_EQ(exposure.menu, menu);
        EXPECT_EQ(exposure.value, 1);
        EXPECT_TRUE(controls[7].readOnly);
    }
}

TEST(CameraControls, SetAppliesInRangeValuesAndReportsRefusals)
{
    FakeDevice device;
    AddTypicalControls(device);
    EXPECT_TRUE(SetControl(device, V4L2_CID_BRIGHTNESS, -20));
    EXPECT_EQ(device.value(V4L2_CID_BRIGHTNESS), -20);
    int read = 0;
    EXPECT_TRUE(ReadControl(device, V4L2_CID_BRIGHTNESS, &read));
    EXPECT_EQ(read, -20);
    EXPECT_FALSE(SetControl(device, V4L2_CID_BRIGHTNESS, 65));
    EXPECT_FALSE(SetControl(device, V4L2_CID_ZOOM_ABSOLUTE, 1));
    EXPECT_FALSE(SetControl(device, V4L2_CID_GAIN, 1));
    EXPECT_EQ(device.value(V4L2_CID_BRIGHTNESS), -20);
    EXPECT_EQ(device.sets, 1);
}

TEST(CameraControls, DeviceWithoutControlsListsNone)
{
    FakeDevice device;
    EXPECT_TRUE(QueryControls(device).empty());
    FakeDevice legacy(false);
    EXPECT_TRUE(QueryControls(legacy).empty());
}

TEST(CameraControls, MissingNodeDoesNotOpen)
{
    QString error;
    EXPECT_EQ(OpenControlDevice("/nonexistent/video99", &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace orv
