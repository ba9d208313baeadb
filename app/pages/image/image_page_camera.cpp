// The Image page's camera half: the camera list, opening a camera in the
// live view, live and frozen pictures, the capture into the work file, the
// camera's settings and stream format, and the reference cross.
#include "app/pages/image/image_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include <utility>

#include "app/dialogs/multiline_button.h"
#include "app/dialogs/ui_prompter.h"
#include "app/pages/image/camera_controls_dialog.h"
#include "app/pages/image/camera_failure_text.h"
#include "app/pages/image/camera_format_dialog.h"
#include "app/pages/image/guide_window.h"
#include "app/pages/image/live_measuring.h"
#include "app/pages/image/live_view.h"
#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "capture/buttons/button_detection.h"
#include "capture/camera/camera_graph.h"
#include "document/measure_document.h"

namespace orv {
namespace {

QString FrameSizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

}  // namespace

void ImagePage::StartCamera()
{
    graph_ = std::make_unique<CameraGraph>();
    graph_->setMessageSink([this](const QString &text) { ShowCameraMessage(text); });
    graph_->setTooLargeText([this](QSize size) { return CameraTooLargeText(size, language_); });
    connect(graph_.get(), &CameraGraph::cameraStopped, this, &ImagePage::OnCameraStopped);
    connect(graph_.get(), &CameraGraph::openFinished, this, &ImagePage::OnOpenFinished);
    defaultCameraIndex_ = -1;
    cameraState_ = 0;

    FillCameraList();

    guideWindow_ = new GuideWindow(this);
    guideWindow_->hide();
    UpdateGuideShape();

    connect(capture_, &QPushButton::clicked, this, &ImagePage::OnCapture);
    connect(live_, &QPushButton::clicked, this, &ImagePage::OnLiveToggle);
    connect(camera_, &QComboBox::activated, this, &ImagePage::OnCameraChoice);
    connect(imageSetting_, &QPushButton::clicked, this, &ImagePage::OnImageSetting);
    connect(outputSetting_, &QPushButton::clicked, this, &ImagePage::OnOutputSetting);
    connect(guide_, &QCheckBox::clicked, this, &ImagePage::OnGuideToggle);
    connect(thickness_, &QComboBox::activated, this, &ImagePage::OnThicknessChange);
    connect(guideColor_, &QPushButton::clicked, this, &ImagePage::OnGuideColor);
}

ImagePage::~ImagePage()
{
    StopSnapShotPoll();
    buttons_.reset();
    // The graph goes before the widgets its frames and signals reach.
    if (graph_) {
        disconnect(frameLink_);
        graph_->ReleaseCaptureGraph();
    }
    // A guide living in the live view stays there, hidden, until the view goes.
    if (guideWindow_)
        guideWindow_->hide();
}

void ImagePage::FillCameraList()
{
    QStringList names;
    graph_->EnumerateCameras(names);
    camera_->clear();
    for (int i = 0; i < names.size(); ++i) {
        camera_->addItem(names[i]);
        if (defaultCameraIndex_ == -1 && names[i].startsWith(QLatin1String(kDefaultCameraPrefix)))
            defaultCameraIndex_ = i;
    }
    // Once set, the default survives refills; the user's choice replaces it.
    if (!names.isEmpty() && defaultCameraIndex_ == -1)
        defaultCameraIndex_ = 0;
    if (!names.isEmpty()) {
        const bool captureOn = capture_->isEnabled();
        EnableCameraControls(true);
        capture_->setEnabled(captureOn);
    }
}

void ImagePage::OpenCamera(int index, QWidget *viewWindow)
{
    StopSnapShotPoll();
    if (cameraState_ == 1 || cameraState_ == 2 || opening_ != OpenStep::None) {
        graph_->ReleaseCaptureGraph();
        cameraState_ = 0;
    }
    opening_ = OpenStep::None;
    wireless_->setEnabled(true);
    if (viewWindow)
        viewWindow->hide();
    if (guideWindow_)
        guideWindow_->hide();
    RemoveWorkFile();

    if (index >= 0) {
        disconnect(frameLink_);
        if (auto *view = qobject_cast<LiveView *>(viewWindow)) {
            view->Clear();
            frameLink_ = connect(graph_.get(), &CameraGraph::frameReady, view, &LiveView::ShowFrame);
        }
        if (graph_->BuildCaptureGraph(index)) {
            opening_ = OpenStep::Camera;
            openingIndex_ = index;
            openingView_ = viewWindow;
            HoldControlsForOpen();
            return;
        }
    }
    FinishOpenCamera(false);
}

void ImagePage::HoldControlsForOpen()
{
    EnableCameraControls(false);
    wireless_->setEnabled(false);
}

void ImagePage::OnOpenFinished(bool opened)
{
    const OpenStep step = std::exchange(opening_, OpenStep::None);
    wireless_->setEnabled(true);
    if (step == OpenStep::Camera)
        FinishOpenCamera(opened);
    if (step == OpenStep::Format) {
        if (opened)
            EnableCameraControls(true);
        FinishOutputSetting(opened);
    }
}

void ImagePage::FinishOpenCamera(bool opened)
{
    if (opened) {
        const int index = openingIndex_;
        QWidget *viewWindow = openingView_;
        camera_->setCurrentIndex(index);
        live_->setChecked(true);
        cameraState_ = 1;
        if (viewWindow)
            viewWindow->show();
        defaultCameraIndex_ = index;
        frameSize_->setText(FrameSizeText(graph_->frameSize()));
        if (guideShown_ && guideWindow_ && viewWindow) {
            guideWindow_->setParent(viewWindow);
            guideWindow_->move(0, 0);
            guideWindow_->show();
            guideWindow_->raise();
        }
        guideParent_ = viewWindow;
        SnapShotCameraOpened(camera_->itemText(index));
        FollowLiveCamera();
        EnableCameraControls(true);
        // The page was left while the camera started: it closes, as leaving does.
        if (owner_ && owner_->currentTab() != PageImage)
            OpenCamera(-1, viewWindow);
        return;
    }
    live_->setChecked(false);
    EnableCameraControls(false);
}

QString ImagePage::cameraName() const
{
    return camera_->currentText();
}

bool ImagePage::SaveFrozenFrame(const QString &path, const QString &extension, QString *reason)
{
    return graph_->SaveSnapshot(path, extension, reason);
}

void ImagePage::OnCapture()
{
    // A rebuild under way has no frame yet.
    if ((cameraState_ != 1 && cameraState_ != 2) || opening_ != OpenStep::None)
        return;
    live_->setChecked(false);
    // Pauses first, so the picture on screen is the frame written. A work
    // file that cannot be written is said at once, with the system's reason.
    QString reason;
    if (!graph_->SaveSnapshot(workFilePath_, QStringLiteral("bmp"), &reason)
        && graph_->state() == CameraGraph::State::Paused)
        ShowCameraMessage(SnapshotFailureText(workFilePath_, reason, language_));
    cameraState_ = 2;
    SetSaveImageEnabled(true);
    if (owner_)
        owner_->document().SetOrigin(ImageOrigin::CameraFrame);
}

void ImagePage::OnLiveToggle()
{
    switch (cameraState_) {
    case 1:
        live_->setChecked(false);
        graph_->PauseCapture();
        cameraState_ = 2;
        break;
    case 2:
        graph_->ResumeCapture();
        live_->setChecked(true);
        cameraState_ = 1;
        RemoveWorkFile();
        SetSaveImageEnabled(false);
        SetWirelessMode(0);
        break;
    default:
        // No camera: the button's own toggle is undone.
        live_->setChecked(false);
        break;
    }
}

void ImagePage::OnCameraChoice(int index)
{
    if (index == defaultCameraIndex_)
        return;
    graph_->resetDesiredSize();
    OpenCamera(index, owner_ ? owner_->liveView() : guideParent_.data());
    update();
}

void ImagePage::OnImageSetting()
{
    ShowCameraProperties(*graph_, *prompter_, this, language_, devices_.openControls);
    update();
}

void ImagePage::OnOutputSetting()
{
    switch (ShowFormatProperties(*graph_, this, language_)) {
    case FormatOutcome::Rebuilding:
        opening_ = OpenStep::Format;
        HoldControlsForOpen();
        break;
    case FormatOutcome::Kept: FinishOutputSetting(true); break;
    case FormatOutcome::NoCamera:
    case FormatOutcome::Failed: FinishOutputSetting(false); break;
    }
}

void ImagePage::FinishOutputSetting(bool running)
{
    if (running) {
        frameSize_->setText(FrameSizeText(graph_->frameSize()));
        // The rebuilt graph runs: a frozen picture went live again.
        if (cameraState_ == 2 && graph_->state() == CameraGraph::State::Running) {
            live_->setChecked(true);
            cameraState_ = 1;
            RemoveWorkFile();
            SetSaveImageEnabled(false);
        }
    } else if (cameraState_ != 0 && graph_->state() == CameraGraph::State::None) {
        // The rebuild failed (its message was shown): no camera is open now.
        EnterNoCameraState();
    }
    if (guideShown_ && guideWindow_ && guideParent_) {
        guideWindow_->setParent(guideParent_);
        guideWindow_->move(0, 0);
        guideWindow_->show();
        guideWindow_->raise();
    }
    update();
}

void ImagePage::OnGuideToggle()
{
    guideShown_ = guide_->isChecked() ? 1 : 0;
    if (!guideWindow_)
        return;
    if (!guideShown_) {
        guideWindow_->hide();
        return;
    }
    if (guideParent_) {
        guideWindow_->setParent(guideParent_);
        guideWindow_->move(0, 0);
    }
    guideWindow_->show();
    guideWindow_->raise();
    update();
}

void ImagePage::OnThicknessChange(int position)
{
    thicknessText_ = QString::number(position + 1);
    thickness_->setCurrentIndex(position);
    UpdateGuideShape();
    update();
}

void ImagePage::OnGuideColor()
{
    if (!guideWindow_)
        return;
    if (const auto colour = prompter_->chooseColor(this, guideWindow_->colour()))
        guideWindow_->setColour(*colour);
    update();
}

void ImagePage::UpdateGuideShape()
{
    if (guideWindow_)
        guideWindow_->setThickness(thicknessText_.toInt());
}

void ImagePage::EnterNoCameraState()
{
    StopSnapShotPoll();
    cameraState_ = 0;
    live_->setChecked(false);
    RemoveWorkFile();
    SetSaveImageEnabled(false);
    EnableCameraControls(false);
}

void ImagePage::OnCameraStopped(const QString &reason)
{
    // The graph is already released; the view keeps the last frame.
    EnterNoCameraState();
    const QString text = language_ == Language::English ? QStringLiteral("The camera stopped (%1).").arg(reason)
                                                        : QStringLiteral("カメラが停止しました（%1）。").arg(reason);
    ShowCameraMessage(text);
}

void ImagePage::ShowCameraMessage(const QString &text)
{
    prompter_->message(this, text, QStringLiteral("Orvalin"), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
}

void ImagePage::SetSaveImageEnabled(bool on)
{
    if (!owner_)
        return;
    if (QPushButton *save = owner_->button(CommandId::SaveImage))
        save->setEnabled(on);
}

void ImagePage::RemoveWorkFile()
{
    if (!workFilePath_.isEmpty())
        QFile::remove(workFilePath_);
}

}  // namespace orv
