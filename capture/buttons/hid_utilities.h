#pragma once
// Finds the button device: the first present HID device with the wanted
// vendor and product, its path and input report length.

#include "capture/buttons/hid_device.h"

#include <cstdint>
#include <memory>
#include <string>

namespace orv {

class HIDUtilities {
public:
    HIDUtilities(std::uint16_t productId, std::uint16_t vendorId, std::shared_ptr<HidBackend> backend);
    virtual ~HIDUtilities() = default;

    // Searches the present devices; the first match wins. False when none
    // matched (the remembered path is then empty) or the list was unavailable.
    bool FindDeviceAndAssignDeviceName();
    // Whether the last search failed because no device list could be had.
    bool deviceListUnavailable() const { return listUnavailable_; }

    const std::string &devicePath() const { return device_.path; }
    std::uint16_t inputReportByteLength() const { return device_.inputReportByteLength; }
    bool numberedReports() const { return device_.numberedReports; }
    const std::shared_ptr<HidBackend> &backend() const { return backend_; }

private:
    std::shared_ptr<HidBackend> backend_;
    std::uint16_t productId_;
    std::uint16_t vendorId_;
    HidDeviceInfo device_;
    bool listUnavailable_ = false;
};

}  // namespace orv
