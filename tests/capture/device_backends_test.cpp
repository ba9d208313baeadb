// The real device layers on a machine without the devices: they must report
// absence as results, never fail or block.
#include "capture/buttons/hid_device.h"
#include "capture/snapshot_key/snapshot_evdev.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

using namespace orv;

TEST(RealDeviceBackends, AbsentDevicesAreResults)
{
    const auto hid = MakeHidapiBackend();
    const auto none = hid->Enumerate(0x19AB, 0x1010);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());
    EXPECT_EQ(hid->Open("/dev/hidraw-none"), nullptr);

    QTemporaryDir dir;
    const std::string plainFile = dir.filePath("event0").toStdString();
    std::ofstream(plainFile) << "not an input device";
    const auto evdev = MakeLibevdevBackend();
    EXPECT_EQ(evdev->Open(plainFile), nullptr);
    EXPECT_EQ(evdev->Open(dir.filePath("event1").toStdString()), nullptr);
}
