// libevdev behind the input-device layer.
#include "capture/snapshot_key/snapshot_evdev.h"

#include <libevdev/libevdev.h>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace orv {
namespace {

class Fd {
public:
    explicit Fd(int fd) :
        fd_(fd)
    {
    }
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

struct LibevdevFree {
    void operator()(libevdev *dev) const { libevdev_free(dev); }
};

// Enough for any burst between two polls; bounds the UI thread's time here.
constexpr int kMaxEventsPerRead = 4096;

class LibevdevDevice final : public EvdevDevice {
public:
    LibevdevDevice(std::unique_ptr<Fd> fd, std::unique_ptr<libevdev, LibevdevFree> dev) :
        fd_(std::move(fd)),
        dev_(std::move(dev))
    {
    }

    bool HasKey(unsigned code) const override { return libevdev_has_event_code(dev_.get(), EV_KEY, code) == 1; }

    std::optional<KeyReading> ReadKey(unsigned code) override
    {
        KeyReading reading;
        unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
        for (int n = 0; n < kMaxEventsPerRead; ++n) {
            input_event ev{};
            const int rc = libevdev_next_event(dev_.get(), flags, &ev);
            if (rc == LIBEVDEV_READ_STATUS_SYNC) {
                // Events were dropped: libevdev replays the state difference.
                flags = LIBEVDEV_READ_FLAG_SYNC;
            } else if (rc == -EAGAIN) {
                if (flags == LIBEVDEV_READ_FLAG_NORMAL)
                    break;
                flags = LIBEVDEV_READ_FLAG_NORMAL;
                continue;
            } else if (rc != LIBEVDEV_READ_STATUS_SUCCESS) {
                return std::nullopt;
            }
            if (ev.type == EV_KEY && ev.code == code && ev.value == 1)
                reading.wentDown = true;
        }
        reading.downNow = libevdev_get_event_value(dev_.get(), EV_KEY, code) != 0;
        return reading;
    }

private:
    std::unique_ptr<Fd> fd_;
    std::unique_ptr<libevdev, LibevdevFree> dev_;  // declared last: freed before its descriptor closes
};

class LibevdevBackend final : public EvdevBackend {
public:
    std::unique_ptr<EvdevDevice> Open(const std::string &node) override
    {
        auto fd = std::make_unique<Fd>(::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (fd->get() < 0)
            return nullptr;
        libevdev *raw = nullptr;
        if (libevdev_new_from_fd(fd->get(), &raw) != 0)
            return nullptr;
        return std::make_unique<LibevdevDevice>(std::move(fd), std::unique_ptr<libevdev, LibevdevFree>(raw));
    }
};

}  // namespace

std::shared_ptr<EvdevBackend> MakeLibevdevBackend()
{
    return std::make_shared<LibevdevBackend>();
}

}  // namespace orv
