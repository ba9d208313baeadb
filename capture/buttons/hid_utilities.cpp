#include "capture/buttons/hid_utilities.h"

namespace orv {

HIDUtilities::HIDUtilities(std::uint16_t productId, std::uint16_t vendorId, std::shared_ptr<HidBackend> backend) :
    backend_(std::move(backend)),
    productId_(productId),
    vendorId_(vendorId)
{
}

bool HIDUtilities::FindDeviceAndAssignDeviceName()
{
    device_ = {};
    const auto devices = backend_->Enumerate(vendorId_, productId_);
    listUnavailable_ = !devices;
    if (!devices || devices->empty())
        return false;
    device_ = devices->front();
    return true;
}

}  // namespace orv
