// hidapi (hidraw backend) behind the HID layer.
#include "capture/buttons/hid_device.h"
#include "capture/buttons/hid_report_descriptor.h"

#include <hidapi/hidapi.h>

#include <algorithm>
#include <climits>

namespace orv {
namespace {

struct EnumerationFree {
    void operator()(hid_device_info *list) const { hid_free_enumeration(list); }
};
struct DeviceClose {
    void operator()(hid_device *device) const { hid_close(device); }
};
using EnumerationPtr = std::unique_ptr<hid_device_info, EnumerationFree>;
using DevicePtr = std::unique_ptr<hid_device, DeviceClose>;

class HidapiConnection final : public HidConnection {
public:
    explicit HidapiConnection(DevicePtr device) :
        device_(std::move(device))
    {
    }

    int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override
    {
        const auto ms = static_cast<int>(std::min<long long>(timeout.count(), INT_MAX));
        return hid_read_timeout(device_.get(), buffer.data(), buffer.size(), ms);
    }

private:
    DevicePtr device_;
};

class HidapiBackend final : public HidBackend {
public:
    explicit HidapiBackend(std::filesystem::path sysfsRoot) :
        sysfsRoot_(std::move(sysfsRoot))
    {
    }

    std::optional<std::vector<HidDeviceInfo>> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override
    {
        // hid_init is idempotent; a failure means no device list at all.
        if (hid_init() != 0)
            return std::nullopt;
        std::vector<HidDeviceInfo> found;
        const EnumerationPtr list(hid_enumerate(vendorId, productId));
        for (const hid_device_info *info = list.get(); info; info = info->next) {
            if (!info->path)
                continue;
            HidDeviceInfo device;
            device.path = info->path;
            const auto layout = ParseHidReportDescriptor(ReadHidrawReportDescriptor(sysfsRoot_, device.path));
            if (layout) {
                device.inputReportByteLength = layout->inputReportByteLength;
                device.numberedReports = layout->numberedReports;
            }
            found.push_back(std::move(device));
        }
        return found;
    }

    std::unique_ptr<HidConnection> Open(const std::string &path) override
    {
        DevicePtr device(hid_open_path(path.c_str()));
        if (!device)
            return nullptr;
        return std::make_unique<HidapiConnection>(std::move(device));
    }

private:
    std::filesystem::path sysfsRoot_;
};

}  // namespace

std::shared_ptr<HidBackend> MakeHidapiBackend(std::filesystem::path sysfsRoot)
{
    return std::make_shared<HidapiBackend>(std::move(sysfsRoot));
}

}  // namespace orv
