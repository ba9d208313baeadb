#pragma once
// The video controls a camera offers (brightness, contrast, exposure, white
// balance, gain, sharpness, ...) through the kernel's V4L2 control interface
// on the camera's device node: their ranges, defaults, menus and current
// values, and setting one live.

#include <QString>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace orv {

struct CameraControl {
    enum class Type { Integer, Boolean, Menu, IntegerMenu, Button };

    std::uint32_t id = 0;
    QString name;
    Type type = Type::Integer;
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int defaultValue = 0;
    int value = 0;
    std::vector<std::pair<int, QString>> menu;  // the valid entries: index and label
    bool readOnly = false;
    bool inactive = false;  // offered, but has no effect in the current mode
};

// The ioctl calls of one open device; tests substitute a fake device.
class ControlDevice {
public:
    virtual ~ControlDevice() = default;
    // As ioctl(2): 0, or -1 with errno set.
    virtual int Ioctl(unsigned long request, void *arg) = 0;
};

// The device node opened for control calls (closed with the object).
class V4l2ControlDevice : public ControlDevice {
public:
    explicit V4l2ControlDevice(const QString &node);
    ~V4l2ControlDevice() override;
    V4l2ControlDevice(const V4l2ControlDevice &) = delete;
    V4l2ControlDevice &operator=(const V4l2ControlDevice &) = delete;

    bool isOpen() const { return fd_ >= 0; }
    const QString &error() const { return error_; }
    int Ioctl(unsigned long request, void *arg) override;

private:
    int fd_ = -1;
    QString error_;
};

// The device's controls in the driver's order; disabled controls and kinds
// without a plain integer value (classes, strings, 64-bit) are left out.
std::vector<CameraControl> QueryControls(ControlDevice &device);

// Reads the current value; false when the driver refuses.
bool ReadControl(ControlDevice &device, std::uint32_t id, int *value);
// Sets a value; false when the driver refuses (the value is then unchanged).
bool SetControl(ControlDevice &device, std::uint32_t id, int value);

// Opens the node and lists its controls; null (with the reason in error) when
// the node cannot be opened.
std::unique_ptr<V4l2ControlDevice> OpenControlDevice(const QString &node, QString *error = nullptr);

}  // namespace orv
