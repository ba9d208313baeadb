#pragma once
// A V4L2 device for control tests: answers QUERYCTRL (also with NEXT_CTRL),
// QUERYMENU, G_CTRL and S_CTRL from a table, as a driver does.

#include <linux/videodev2.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

#include "capture/camera/camera_controls.h"

namespace orv::test {

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
            if (afterSet)
                afterSet(c->id, c->value);
            return 0;
        }
        return Refuse();
    }

    int value(std::uint32_t id) const { return controls_.at(id).value; }
    void setFlags(std::uint32_t id, std::uint32_t flags) { controls_.at(id).query.flags = flags; }
    int sets = 0;
    // Runs after each accepted set, for drivers whose controls depend on
    // each other.
    std::function<void(std::uint32_t id, int value)> afterSet;

private:
    static int Refuse()
    {
        errno = EINVAL;
        return -1;
    }

    bool nextCtrl_;
    std::map<std::uint32_t, Control> controls_;
};

}  // namespace orv::test
