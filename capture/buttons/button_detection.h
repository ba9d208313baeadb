#pragma once
// Button press detection as the image page uses it: register its flag, start
// at creation, stop at destruction. Owns the hidden window and the monitor.

#include "capture/buttons/button_detection_monitor.h"
#include "capture/buttons/button_hidden_window.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace orv {

// Shown (by the caller, through its message seam) when the system could not
// list its HID devices at all.
inline const QString kHidListFailedText = QStringLiteral("FindDeviceAndAssignDeviceName:: ERROR - SetupDiGetClassDevs");
inline const QString kHidListFailedCaption = QStringLiteral("debug");

class ButtonDetection {
public:
    explicit ButtonDetection(std::shared_ptr<HidBackend> backend = MakeHidapiBackend());
    ~ButtonDetection();
    ButtonDetection(const ButtonDetection &) = delete;
    ButtonDetection &operator=(const ButtonDetection &) = delete;

    // The flag (owned by the caller, UI thread) that each press sets to 1.
    void RegisterButtonFlag(std::int32_t *flag);
    // Creates the hidden window and the monitor unless they exist and starts
    // the monitor; a second start while started does nothing (AlreadyRunning).
    ButtonDetectionMonitor::StartResult StartButtonPressDetection();
    // Stops and drops the monitor, then the hidden window.
    void StopButtonPressDetection();

    bool started() const { return static_cast<bool>(monitor_); }
    bool readerRunning() const { return monitor_ && monitor_->running(); }
    HiddenButtonWindow *window() const { return window_.get(); }

private:
    std::shared_ptr<HidBackend> backend_;
    std::int32_t *flag_ = nullptr;
    std::unique_ptr<HiddenButtonWindow> window_;
    std::unique_ptr<ButtonDetectionMonitor> monitor_;
};

}  // namespace orv
