// Image page: measuring on the live picture, its "Overlay" check box and the
// live tool chooser, shown under both the camera's and the wireless controls.
#include "app/pages/image/image_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/pages/image/live_measuring.h"
#include "app/pages/image/live_view.h"
#include "app/pages/page_host.h"
#include "capture/wireless/wireless_protocol.h"

namespace orv {

void ImagePage::BuildLiveMeasureControls()
{
    const bool en = language_ == Language::English;
    overlay_ = new QCheckBox(en ? QStringLiteral("Overlay") : QStringLiteral("オーバーレイ"), this);
    overlay_->setObjectName("liveOverlay");
    liveToolLabel_ = new QLabel(en ? QStringLiteral("Measure live") : QStringLiteral("ライブ計測"), this);
    liveToolLabel_->setObjectName("liveToolLabel");
    liveTool_ = new QComboBox(this);
    liveTool_->setObjectName("liveTool");
    liveTool_->addItem(en ? QStringLiteral("None") : QStringLiteral("なし"), int(KindUndefined));
    for (MeasureKind kind : LiveMeasuring::kLiveKinds)
        liveTool_->addItem(QString::fromUtf8(KindName(kind, language_)), int(kind));

    connect(overlay_, &QCheckBox::toggled, this, [this](bool on) {
        if (liveMeasuring_)
            liveMeasuring_->SetOverlayShown(on);
    });
    connect(liveTool_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (liveMeasuring_)
            liveMeasuring_->SetTool(static_cast<MeasureKind>(liveTool_->itemData(index).toInt()));
    });
}

void ImagePage::LayOutLiveMeasureControls(QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    row->addWidget(liveToolLabel_);
    row->addWidget(liveTool_, 1);
    layout->addWidget(overlay_);
    layout->addLayout(row);
}

void ImagePage::StartLiveMeasuring()
{
    liveMeasuring_.reset();
    auto *view = owner_ ? qobject_cast<LiveView *>(owner_->liveView()) : nullptr;
    if (!view)
        return;
    liveMeasuring_ = std::make_unique<LiveMeasuring>(owner_->document(), *view, *prompter_, language_, settingsDir_);
    liveMeasuring_->SetOverlayShown(overlay_->isChecked());
    liveMeasuring_->SetTool(static_cast<MeasureKind>(liveTool_->currentData().toInt()));
    FollowLiveCamera();
}

void ImagePage::FollowLiveCamera()
{
    if (!liveMeasuring_)
        return;
    if (wirelessMode_)
        liveMeasuring_->SetCamera(QLatin1String(kWirelessCameraName));
    else if (cameraState_ == 1 || cameraState_ == 2)
        liveMeasuring_->SetCamera(cameraName());
}

void ImagePage::CarryLiveMeasurements()
{
    if (liveMeasuring_)
        liveMeasuring_->CarryIntoStill();
}

}  // namespace orv
