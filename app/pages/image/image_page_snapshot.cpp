// Image page: captures by the microscope's button (HID) and by the camera's
// own snapshot key, polled every 300 ms while a camera is open and the page
// is shown.
#include "app/pages/image/image_page.h"

#include <QTimer>

#include "app/dialogs/ui_prompter.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "capture/buttons/button_detection.h"
#include "capture/camera/camera_devices.h"
#include "capture/camera/camera_graph.h"

namespace orv {

void ImagePage::StartButtonDetection()
{
    pollTimer_ = new QTimer(this);
    pollTimer_->setObjectName("snapShotPollTimer");
    pollTimer_->setInterval(kSnapShotPollMs);
    connect(pollTimer_, &QTimer::timeout, this, &ImagePage::OnSnapShotPoll);

    if (devices_.snapShotReader)
        snapShotReader_ = devices_.snapShotReader();
    if (!snapShotReader_)
        snapShotReader_ = std::make_unique<SnapShotFlagReader>(devices_.evdev ? devices_.evdev : MakeLibevdevBackend(),
                                                               devices_.sysfsRoot, devices_.devRoot);
    buttonFlag_ = 0;
    snapShotCamera_ = false;

    buttons_ = std::make_unique<ButtonDetection>(devices_.hid ? devices_.hid : MakeHidapiBackend());
    buttons_->RegisterButtonFlag(&buttonFlag_);
    if (buttons_->StartButtonPressDetection() == ButtonDetectionMonitor::StartResult::DeviceListUnavailable)
        prompter_->message(this, kHidListFailedText, kHidListFailedCaption);
}

void ImagePage::StopSnapShotPoll()
{
    snapShotCamera_ = false;
    if (pollTimer_)
        pollTimer_->stop();
}

void ImagePage::SnapShotCameraOpened(const QString &name)
{
    snapShotCamera_ = name == QLatin1String(kSnapshotCameraName);
    snapShotReader_->SetCameraNode(graph_->deviceNode().toStdString());
    snapShotMessage_.CameraOpened();
    pollTimer_->start();
}

void ImagePage::OnSnapShotPoll()
{
    pollTimer_->stop();
    SnapShotPollState state;
    state.cameraOpen = cameraState_ == 1 || cameraState_ == 2;
    state.snapshotCamera = snapShotCamera_;
    state.live = cameraState_ == 1;
    const auto readFlag = [this]() -> std::optional<std::uint32_t> {
        const SnapShotRead read = snapShotReader_->ReadSnapShotFlag();
        // Told once per open: the poll goes on silently afterwards.
        if (const auto text = snapShotMessage_.MessageFor(read.status))
            ShowCameraMessage(*text);
        if (read.status != SnapShotStatus::Ok)
            return std::nullopt;
        return read.value;
    };
    if (snapShotPoll_.Poll(state, readFlag, buttonFlag_))
        QMetaObject::invokeMethod(this, &ImagePage::OnCapture, Qt::QueuedConnection);
    // The message above may have run while the camera went away.
    const bool open = cameraState_ == 1 || cameraState_ == 2;
    if (open && (!owner_ || owner_->currentTab() == PageImage))
        pollTimer_->start();
}

}  // namespace orv
