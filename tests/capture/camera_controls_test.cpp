// The V4L2 control model against a fake device that answers the ioctls as a
// driver does.
#include <gtest/gtest.h>

#include <linux/videodev2.h>

#include <QStringList>

#include <cerrno>
#include <cstring>
#include <map>

#include "camera_controls.h"

namespace orv {
namespace {

class FakeDevice : public ControlDevice {
public:
    struct Control {
        v4l2_queryctrl query{};
        int value = 0;
        std::map<int, const char *> menu;
    };

    explicit FakeDevice(bool nextCtrl = true) : nextCtrl_(nextCtrl) {}

    void Add(std::uint32_t id, const char *name, std::uint32_t type, int min, int max, int def, int value,
             std::uint32_t flags = 0, std::map<int, const char *> menu = {})
    {
        Control c;
        c.query.id = id;
        c.query.type = type;
        std::strncpy(reinterpret_cast<char *>(c.query.name), name, sizeof c.query.name - 1);
        c.query.minimum = min;
        c.query.maximum = max;
        c.query.step = 1;
        c.query.default_value = def;
        c.query.flags = flags;
        c.value = value;
        c.menu = std::move(menu);
        controls_[id] = c;
    }

    int Ioctl(unsigned long request, void *arg) override
    {
        if (request == VIDIOC_QUERYCTRL) {
            auto *q = static_cast<v4l2_queryctrl *>(arg);
            if (q->id & V4L2_CTRL_FLAG_NEXT_CTRL) {
                if (!nextCtrl_)
                    return Refuse();
                const auto it = controls_.upper_bound(q->id & ~V4L2_CTRL_FLAG_NEXT_CTRL);
                if (it == controls_.end())
                    return Refuse();
                *q = it->second.query;
                return 0;
            }
            const auto it = controls_.find(q->id);
            if (it == controls_.end())
                return Refuse();
            *q = it->second.query;
            return 0;
        }
        if (request == VIDIOC_QUERYMENU) {
            auto *m = static_cast<v4l2_querymenu *>(arg);
            const auto it = controls_.find(m->id);
            if (it == controls_.end() || !it->second.menu.count(static_cast<int>(m->index)))
                return Refuse();
            if (it->second.query.type == V4L2_CTRL_TYPE_INTEGER_MENU)
                m->value = std::atoll(it->second.menu.at(static_cast<int>(m->index)));
            else
                std::strncpy(reinterpret_cast<char *>(m->name), it->second.menu.at(static_cast<int>(m->index)),
                             sizeof m->name - 1);
            return 0;
        }
        if (request == VIDIOC_G_CTRL || request == VIDIOC_S_CTRL) {
            auto *c = static_cast<v4l2_control *>(arg);
            const auto it = controls_.find(c->id);
            if (it == controls_.end())
                return Refuse();
            Control &control = it->second;
            if (request == VIDIOC_G_CTRL) {
                c->value = control.value;
                return 0;
            }
            if ((control.query.flags & V4L2_CTRL_FLAG_READ_ONLY) || c->value < control.query.minimum ||
                c->value > control.query.maximum) {
                errno = (control.query.flags & V4L2_CTRL_FLAG_READ_ONLY) ? EACCES : ERANGE;
                return -1;
            }
            control.value = c->value;
            ++sets;
            return 0;
        }
        return Refuse();
    }

    int value(std::uint32_t id) const { return controls_.at(id).value; }
    int sets = 0;

private:
    static int Refuse()
    {
        errno = EINVAL;
        return -1;
    }

    bool nextCtrl_;
    std::map<std::uint32_t, Control> controls_;
};

void AddTypicalControls(FakeDevice &d)
{
    d.Add(V4L2_CID_BRIGHTNESS, "Brightness", V4L2_CTRL_TYPE_INTEGER, -64, 64, 0, 12);
    d.Add(V4L2_CID_CONTRAST, "Contrast", V4L2_CTRL_TYPE_INTEGER, 0, 95, 32, 40);
    d.Add(V4L2_CID_AUTO_WHITE_BALANCE, "White Balance, Automatic", V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1, 1);
    d.Add(V4L2_CID_WHITE_BALANCE_TEMPERATURE, "White Balance Temperature", V4L2_CTRL_TYPE_INTEGER, 2800, 6500,
          4600, 4600, V4L2_CTRL_FLAG_INACTIVE);
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
        EXPECT_EQ(names, (QStringList{"Brightness", "Contrast", "White Balance, Automatic",
                                      "Power Line Frequency", "White Balance Temperature", "Auto Exposure",
                                      "Exposure Time, Absolute", "Zoom (read only)"}))
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
        const std::vector<std::pair<int, QString>> menu{{0, "Auto Mode"}, {1, "Manual Mode"}, {3, "Aperture Priority Mode"}};
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
