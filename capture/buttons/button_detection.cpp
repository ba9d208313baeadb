#include "capture/buttons/button_detection.h"

namespace orv {

ButtonDetection::ButtonDetection(std::shared_ptr<HidBackend> backend) :
    backend_(std::move(backend))
{
}

ButtonDetection::~ButtonDetection()
{
    StopButtonPressDetection();
}

void ButtonDetection::RegisterButtonFlag(std::int32_t *flag)
{
    flag_ = flag;
    if (window_)
        window_->setFlag(flag);
}

ButtonDetectionMonitor::StartResult ButtonDetection::StartButtonPressDetection()
{
    if (!window_) {
        window_ = std::make_unique<HiddenButtonWindow>();
        window_->setFlag(flag_);
    }
    if (monitor_)
        return ButtonDetectionMonitor::StartResult::AlreadyRunning;
    monitor_ = std::make_unique<ButtonDetectionMonitor>(window_.get(), backend_);
    return monitor_->StartMonitor();
}

void ButtonDetection::StopButtonPressDetection()
{
    if (monitor_) {
        monitor_->StopMonitor();
        monitor_.reset();
    }
    window_.reset();
}

}  // namespace orv
