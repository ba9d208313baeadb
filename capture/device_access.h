#pragma once
// Where the image page reaches its devices: the microscope button (HID), the
// camera's snapshot key (evdev, found through sysfs) and the camera's video
// controls. Every member left empty means the real system; tests substitute.

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

#include "capture/camera/camera_controls.h"
#include "capture/buttons/hid_device.h"
#include "capture/snapshot_key/snapshot_evdev.h"
#include "capture/snapshot_key/snapshot_flag.h"

namespace orv {

// Opens a camera node for control calls; null (with the reason in *error)
// when it cannot be opened.
using ControlOpener = std::function<std::unique_ptr<ControlDevice>(const QString &node, QString *error)>;

struct DeviceAccess {
    std::shared_ptr<HidBackend> hid;      // hidapi when null
    // The snapshot key's reader; when empty, one on evdev (libevdev when
    // null) that finds the key's device under sysfsRoot and devRoot.
    std::function<std::unique_ptr<SnapShotFlagReader>()> snapShotReader;
    std::shared_ptr<EvdevBackend> evdev;
    std::filesystem::path sysfsRoot = "/sys";
    std::filesystem::path devRoot = "/dev";
    ControlOpener openControls;           // the V4L2 node itself when empty
};

}  // namespace orv
