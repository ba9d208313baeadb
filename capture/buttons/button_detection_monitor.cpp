#include "capture/buttons/button_detection_monitor.h"

#include "capture/buttons/button_report.h"

#include <QCoreApplication>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace orv {
namespace {

// Read size when the device's descriptor could not be read: hidraw hands
// over the whole report whenever the buffer is at least that long.
constexpr std::size_t kUnknownReportBytes = 64;

}  // namespace

// Shared by the UI thread and one reader thread; outlives the monitor when a
// stop's wait ran out, until the thread has ended.
struct ButtonDetectionMonitor::Shared {
    explicit Shared(std::shared_ptr<HidBackend> b, QObject *t) :
        backend(std::move(b)),
        target(t)
    {
    }

    const std::shared_ptr<HidBackend> backend;
    std::mutex mutex;
    std::condition_variable changed;
    // Guarded by mutex. target is cleared on stop so a late reader posts nothing.
    bool run = true;
    QObject *target;
    bool ended = false;
};

ButtonDetectionMonitor::ButtonDetectionMonitor(QObject *target, std::shared_ptr<HidBackend> backend) :
    target_(target),
    hid_(kButtonProductId, kButtonVendorId, std::move(backend))
{
}

ButtonDetectionMonitor::~ButtonDetectionMonitor()
{
    StopMonitor();
}

ButtonDetectionMonitor::StartResult ButtonDetectionMonitor::StartMonitor()
{
    if (shared_)
        return StartResult::AlreadyRunning;
    if (!hid_.FindDeviceAndAssignDeviceName())
        return hid_.deviceListUnavailable() ? StartResult::DeviceListUnavailable : StartResult::NoDevice;
    shared_ = std::make_shared<Shared>(hid_.backend(), target_);
    HidDeviceInfo device;
    device.path = hid_.devicePath();
    device.inputReportByteLength = hid_.inputReportByteLength();
    device.numberedReports = hid_.numberedReports();
    thread_ = std::thread(&ButtonDetectionMonitor::ReportReaderThread, shared_, std::move(device));
    return StartResult::Started;
}

void ButtonDetectionMonitor::StopMonitor()
{
    if (!shared_)
        return;
    std::unique_lock lock(shared_->mutex);
    shared_->run = false;
    shared_->target = nullptr;
    shared_->changed.notify_all();
    const bool ended = shared_->changed.wait_for(lock, kStopWait, [this] { return shared_->ended; });
    lock.unlock();
    // A thread that said it ended only has its return left; one that did not
    // keeps its share of the state and ends on its own.
    if (ended)
        thread_.join();
    else
        thread_.detach();
    shared_.reset();
}

void ButtonDetectionMonitor::ReportReaderThread(std::shared_ptr<Shared> shared, HidDeviceInfo device)
{
    auto connection = shared->backend->Open(device.path);
    std::size_t readBytes = kUnknownReportBytes;
    if (device.inputReportByteLength > 0)
        readBytes = device.numberedReports ? device.inputReportByteLength : device.inputReportByteLength - 1u;
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(readBytes, 1));

    for (;;) {
        {
            std::unique_lock lock(shared->mutex);
            if (!shared->run)
                break;
            if (!connection) {
                // Not opened or gone: nothing to read until the stop.
                shared->changed.wait(lock, [&] { return !shared->run; });
                break;
            }
        }
        const int got = connection->Read(buffer, kReadWait);
        if (got < 0) {
            connection.reset();
            continue;
        }
        if (got == 0)
            continue;
        const auto report = NormaliseButtonReport(
            std::span<const std::uint8_t>(buffer.data(),
                                          std::min<std::size_t>(static_cast<std::size_t>(got), buffer.size())),
            device.numberedReports);
        if (!IsButtonPress(report))
            continue;
        std::lock_guard lock(shared->mutex);
        if (shared->run && shared->target)
            QCoreApplication::postEvent(shared->target, new QEvent(ButtonPressedMessage));  // Qt takes ownership
    }

    connection.reset();
    std::lock_guard lock(shared->mutex);
    shared->ended = true;
    shared->changed.notify_all();
}

}  // namespace orv
