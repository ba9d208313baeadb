#include "capture/camera/camera_controls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <linux/videodev2.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace orv {

namespace {

// Upper bound of the classic enumeration, for drivers without NEXT_CTRL.
constexpr std::uint32_t kCameraClassSpan = 64;
constexpr int kMaxPrivateControls = 256;

int Retry(ControlDevice &device, unsigned long request, void *arg)
{
    int r;
    do {
        r = device.Ioctl(request, arg);
    } while (r == -1 && errno == EINTR);
    return r;
}

QString Name(const v4l2_queryctrl &q)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(q.name),
                             static_cast<qsizetype>(strnlen(reinterpret_cast<const char *>(q.name), sizeof q.name)));
}

bool Convert(const v4l2_queryctrl &q, CameraControl &c)
{
    switch (q.type) {
    case V4L2_CTRL_TYPE_INTEGER: c.type = CameraControl::Type::Integer; break;
    case V4L2_CTRL_TYPE_BOOLEAN: c.type = CameraControl::Type::Boolean; break;
    case V4L2_CTRL_TYPE_MENU: c.type = CameraControl::Type::Menu; break;
    case V4L2_CTRL_TYPE_INTEGER_MENU: c.type = CameraControl::Type::IntegerMenu; break;
    case V4L2_CTRL_TYPE_BUTTON: c.type = CameraControl::Type::Button; break;
    default: return false;
    }
    c.id = q.id;
    c.name = Name(q);
    c.minimum = q.minimum;
    c.maximum = q.maximum;
    c.step = q.step > 0 ? q.step : 1;
    c.defaultValue = q.default_value;
    c.value = q.default_value;
    c.readOnly = (q.flags & V4L2_CTRL_FLAG_READ_ONLY) != 0;
    c.inactive = (q.flags & (V4L2_CTRL_FLAG_INACTIVE | V4L2_CTRL_FLAG_GRABBED)) != 0;
    return true;
}

void ReadMenu(ControlDevice &device, CameraControl &c)
{
    if (c.type != CameraControl::Type::Menu && c.type != CameraControl::Type::IntegerMenu)
        return;
    for (int index = std::max(c.minimum, 0); index <= c.maximum; ++index) {
        v4l2_querymenu m{};
        m.id = c.id;
        m.index = static_cast<std::uint32_t>(index);
        // Drivers leave gaps: an index they refuse is simply not offered.
        if (Retry(device, VIDIOC_QUERYMENU, &m) != 0)
            continue;
        QString label;
        if (c.type == CameraControl::Type::Menu)
            label = QString::fromUtf8(
                reinterpret_cast<const char *>(m.name),
                static_cast<qsizetype>(strnlen(reinterpret_cast<const char *>(m.name), sizeof m.name)));
        else
            label = QString::number(static_cast<qlonglong>(m.value));
        c.menu.emplace_back(index, label);
    }
}

// Adds the control described by q; false when q is not a control to list.
bool Add(ControlDevice &device, const v4l2_queryctrl &q, std::vector<CameraControl> &out)
{
    if (q.flags & V4L2_CTRL_FLAG_DISABLED)
        return false;
    CameraControl c;
    if (!Convert(q, c))
        return false;
    ReadMenu(device, c);
    if (c.type != CameraControl::Type::Button && !(q.flags & V4L2_CTRL_FLAG_WRITE_ONLY)) {
        int value = 0;
        if (ReadControl(device, c.id, &value))
            c.value = value;
    }
    out.push_back(std::move(c));
    return true;
}

void QueryRange(ControlDevice &device, std::uint32_t first, std::uint32_t end, std::vector<CameraControl> &out)
{
    for (std::uint32_t id = first; id < end; ++id) {
        v4l2_queryctrl q{};
        q.id = id;
        if (Retry(device, VIDIOC_QUERYCTRL, &q) == 0)
            Add(device, q, out);
    }
}

}  // namespace

V4l2ControlDevice::V4l2ControlDevice(const QString &node)
{
    const QByteArray path = node.toLocal8Bit();
    fd_ = ::open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        error_ = QString::fromLocal8Bit(std::strerror(errno));
}

V4l2ControlDevice::~V4l2ControlDevice()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int V4l2ControlDevice::Ioctl(unsigned long request, void *arg)
{
    return ::ioctl(fd_, request, arg);
}

std::vector<CameraControl> QueryControls(ControlDevice &device)
{
    std::vector<CameraControl> controls;
    v4l2_queryctrl q{};
    q.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    bool next = false;
    while (Retry(device, VIDIOC_QUERYCTRL, &q) == 0) {
        next = true;
        Add(device, q, controls);
        const std::uint32_t id = q.id;
        q = v4l2_queryctrl{};
        q.id = id | V4L2_CTRL_FLAG_NEXT_CTRL;
    }
    if (next)
        return controls;
    // Older drivers: walk the user and camera classes, then the private ids.
    QueryRange(device, V4L2_CID_BASE, V4L2_CID_LASTP1, controls);
    QueryRange(device, V4L2_CID_CAMERA_CLASS_BASE, V4L2_CID_CAMERA_CLASS_BASE + kCameraClassSpan, controls);
    for (int i = 0; i < kMaxPrivateControls; ++i) {
        v4l2_queryctrl p{};
        p.id = V4L2_CID_PRIVATE_BASE + static_cast<std::uint32_t>(i);
        if (Retry(device, VIDIOC_QUERYCTRL, &p) != 0)
            break;
        Add(device, p, controls);
    }
    return controls;
}

bool ReadControl(ControlDevice &device, std::uint32_t id, int *value)
{
    v4l2_control c{};
    c.id = id;
    if (Retry(device, VIDIOC_G_CTRL, &c) != 0)
        return false;
    if (value)
        *value = c.value;
    return true;
}

bool SetControl(ControlDevice &device, std::uint32_t id, int value)
{
    v4l2_control c{};
    c.id = id;
    c.value = value;
    return Retry(device, VIDIOC_S_CTRL, &c) == 0;
}

std::unique_ptr<V4l2ControlDevice> OpenControlDevice(const QString &node, QString *error)
{
    auto device = std::make_unique<V4l2ControlDevice>(node);
    if (!device->isOpen()) {
        if (error)
            *error = device->error();
        return nullptr;
    }
    return device;
}

}  // namespace orv
