#include "capture/snapshot_key/snapshot_flag.h"

#include "capture/snapshot_key/snapshot_sysfs.h"

#include <linux/input-event-codes.h>

namespace orv {

SnapShotFlagReader::SnapShotFlagReader(std::shared_ptr<EvdevBackend> backend, std::filesystem::path sysfsRoot,
                                       std::filesystem::path devRoot) :
    backend_(std::move(backend)),
    sysfsRoot_(std::move(sysfsRoot)),
    devRoot_(std::move(devRoot))
{
}

void SnapShotFlagReader::SetCameraNode(std::string videoNode)
{
    cameraNode_ = std::move(videoNode);
    device_.reset();
}

SnapShotRead SnapShotFlagReader::ReadSnapShotFlag()
{
    if (!device_ && !cameraNode_.empty()) {
        for (const auto &node : FindCameraInputNodes(sysfsRoot_, cameraNode_, devRoot_)) {
            auto device = backend_->Open(node);
            if (device && device->HasKey(KEY_CAMERA)) {
                device_ = std::move(device);
                break;
            }
        }
    }
    if (!device_)
        return {SnapShotStatus::NoDevice, 0};
    const auto reading = device_->ReadKey(KEY_CAMERA);
    if (!reading) {
        device_.reset();  // searched again at the next read
        return {SnapShotStatus::Unreadable, 0};
    }
    const std::uint32_t value = reading->downNow || reading->wentDown ? 1 : 0;
    if (value != 0)
        AcknowledgeSnapShot();
    return {SnapShotStatus::Ok, value};
}

std::optional<QString> SnapShotMessageOnce::MessageFor(SnapShotStatus status)
{
    if (status == SnapShotStatus::Ok || shown_)
        return std::nullopt;
    shown_ = true;
    return status == SnapShotStatus::NoDevice ? kSnapShotOpenFailedText : kSnapShotReadFailedText;
}

}  // namespace orv
