#pragma once
// Reads the microscope button's input reports on a thread of its own and posts
// ButtonPressedMessage to a target object on the UI thread for each press.

#include "capture/buttons/hid_utilities.h"

#include <QEvent>

#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

class QObject;

namespace orv {

// Posted to the target for each press; the number is the device layer's own.
inline constexpr QEvent::Type ButtonPressedMessage = static_cast<QEvent::Type>(1125);

inline constexpr std::uint16_t kButtonVendorId = 0x19AB;
inline constexpr std::uint16_t kButtonProductId = 0x1010;

class ButtonDetectionMonitor {
public:
    enum class StartResult { Started, AlreadyRunning, NoDevice, DeviceListUnavailable };

    // How long StopMonitor waits for the thread, and the longest single wait
    // of the thread for a report (so it sees a stop well within the former).
    static constexpr std::chrono::milliseconds kStopWait{500};
    static constexpr std::chrono::milliseconds kReadWait{100};

    // target lives on the UI thread and must outlive the monitor's running
    // (StopMonitor or the destructor ends every post to it).
    ButtonDetectionMonitor(QObject *target, std::shared_ptr<HidBackend> backend);
    virtual ~ButtonDetectionMonitor();
    ButtonDetectionMonitor(const ButtonDetectionMonitor &) = delete;
    ButtonDetectionMonitor &operator=(const ButtonDetectionMonitor &) = delete;

    // Searches the device once and starts the reader when it is present.
    StartResult StartMonitor();
    // Ends the reader, waiting for it at most kStopWait; a reader that does
    // not end by then is left to end by itself with its own state.
    void StopMonitor();
    bool running() const { return static_cast<bool>(shared_); }

private:
    struct Shared;
    static void ReportReaderThread(std::shared_ptr<Shared> shared, HidDeviceInfo device);

    QObject *target_;
    HIDUtilities hid_;
    // The block the reader thread owns together with the monitor; null while
    // not running. UI thread only.
    std::shared_ptr<Shared> shared_;
    std::thread thread_;
};

}  // namespace orv
