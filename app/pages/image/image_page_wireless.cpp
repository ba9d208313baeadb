// Image page: the wireless microscope's controls (the "Nimbra" toggle and the
// overlay options) and the switch between the camera and the wireless sets.
#include "app/pages/image/image_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "app/dialogs/multiline_button.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "capture/camera/camera_graph.h"
#include "capture/device_event.h"

namespace orv {
namespace {

const QStringList kOverlayColours = {"Black", "White", "Red"};
const QStringList kLenses = {"(nil)", "X30", "X50", "X100", "X200", "X400"};

// The main window's client width that tells whether the live view has room.
constexpr int kLiveViewWidth = 640;

}  // namespace

void ImagePage::ConnectWirelessControls()
{
    // The toggle's own check state is set by SetWirelessMode, not by the click.
    connect(wireless_, &QPushButton::clicked, this, [this] { SetWirelessMode(wirelessMode_ ? 0 : 1); });
    connect(overlayColor_, &QComboBox::activated, this, &ImagePage::OnOverlayColour);
    connect(lens_, &QComboBox::activated, this, &ImagePage::OnLens);
    connect(crossIndicator_, &QCheckBox::clicked, this, [this](bool checked) {
        crossIndicatorOn_ = checked ? 1 : 0;
        PostDeviceEvent(static_cast<int>(DeviceEvent::NbSetScale));
    });
}

void ImagePage::PostDeviceEvent(int code)
{
    if (owner_)
        owner_->PostDeviceEvent(code, 0);
}

void ImagePage::OnOverlayColour(int position)
{
    if (position < 0 || position >= kOverlayColours.size())
        return;
    colourText_ = kOverlayColours[position];
    PostDeviceEvent(static_cast<int>(DeviceEvent::NbSetScale));
}

void ImagePage::OnLens(int position)
{
    if (position < 0 || position >= kLenses.size())
        return;
    lensText_ = kLenses[position];
    PostDeviceEvent(static_cast<int>(DeviceEvent::NbSetScale));
}

void ImagePage::SetWirelessMode(int on)
{
    for (QWidget *w : liveModeSet())
        w->setVisible(!on);
    for (QWidget *w : wirelessSet())
        w->setVisible(on != 0);

    const bool cameraOpen = cameraState_ == 1 || cameraState_ == 2;
    const QList<QWidget *> cameraChoice = {cameraLabel_, camera_, capture_, imageSetting_, outputSetting_};
    if (on) {
        if (cameraOpen) {
            for (QWidget *w : cameraChoice)
                w->setEnabled(false);
            if (cameraState_ == 1) {
                if (graph_)
                    graph_->PauseCapture();
                live_->setChecked(false);
                cameraState_ = 2;
            }
        } else {
            ResizeForLiveView(true);
        }
        PostDeviceEvent(static_cast<int>(DeviceEvent::NbStart));
        if (owner_ && owner_->liveView())
            owner_->liveView()->show();
    } else {
        PostDeviceEvent(static_cast<int>(DeviceEvent::NbStop));
        if (cameraOpen) {
            for (QWidget *w : cameraChoice)
                w->setEnabled(true);
            if (graph_)
                graph_->ResumeCapture();
            live_->setChecked(true);
            cameraState_ = 1;
            if (!workFilePath_.isEmpty())
                QFile::remove(workFilePath_);
            if (QPushButton *save = owner_ ? owner_->button(CommandId::SaveImage) : nullptr)
                save->setEnabled(false);
        } else {
            if (owner_ && owner_->liveView())
                owner_->liveView()->hide();
            ResizeForLiveView(false);
        }
    }
    wirelessMode_ = on;
    wireless_->setChecked(on != 0);
    FollowLiveCamera();
}

void ImagePage::ResizeForLiveView(bool on)
{
    if (!owner_)
        return;
    const int height = owner_->windowSizeRequested().height();
    const int clientWidth = owner_->windowWidth();
    if (on && clientWidth < kLiveViewWidth)
        owner_->SetWindowSize(QSize(owner_->columnWidth() + PageHost::kLiveViewAllowance, height));
    else if (!on && clientWidth > kLiveViewWidth)
        owner_->SetWindowSize(QSize(owner_->columnWidth(), height));
}

}  // namespace orv
