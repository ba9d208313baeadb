// The Image page's camera half: the camera list, opening a camera in the
// live view, live and frozen pictures, the capture into the work file, the
// camera's settings and stream format, and the reference cross.
#include "app/image_tab.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "app/camera_controls_dlg.h"
#include "app/camera_failure_text.h"
#include "app/camera_format_dlg.h"
#include "capture/button_detection.h"
#include "capture/camera_graph.h"
#include "app/guide_window.h"
#include "app/live_view.h"
#include "app/multiline_button.h"
#include "app/page_host.h"
#include "app/tab_index.h"
#include "document/measure_document.h"
#include "app/ui_prompter.h"

namespace orv {
namespace {

QString FrameSizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

}  // namespace

void CImageTab::StartCamera()
{
    graph_ = std::make_unique<CameraGraph>();
    graph_->setMessageSink([this](const QString &text) { ShowCameraMessage(text); });
    graph_->setTooLargeText([this](QSize size) { return CameraTooLargeText(size, language_); });
    connect(graph_.get(), &CameraGraph::cameraStopped, this, &CImageTab::OnCameraStopped);
    defaultCameraIndex_ = -1;
    cameraState_ = 0;

    FillCameraList();

    guideWindow_ = new GuideWindow(this);
    guideWindow_->hide();
    UpdateGuideShape();

    connect(capture_, &QPushButton::clicked, this, &CImageTab::OnCapture);
    connect(live_, &QPushButton::clicked, this, &CImageTab::OnLiveToggle);
    connect(camera_, &QComboBox::activated, this, &CImageTab::OnCameraChoice);
    connect(imageSetting_, &QPushButton::clicked, this, &CImageTab::OnImageSetting);
    connect(outputSetting_, &QPushButton::clicked, this, &CImageTab::OnOutputSetting);
    connect(guide_, &QCheckBox::clicked, this, &CImageTab::OnGuideToggle);
    connect(thickness_, &QComboBox::activated, this, &CImageTab::OnThicknessChange);
    connect(guideColor_, &QPushButton::clicked, this, &CImageTab::OnGuideColor);
}

CImageTab::~CImageTab()
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

void CImageTab::FillCameraList()
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

void CImageTab::OpenCamera(int index, QWidget *viewWindow)
{
    StopSnapShotPoll();
    if (cameraState_ == 1 || cameraState_ == 2) {
        graph_->ReleaseCaptureGraph();
        cameraState_ = 0;
    }
    if (viewWindow)
        viewWindow->hide();
    if (guideWindow_)
        guideWindow_->hide();
    RemoveWorkFile();

    bool opened = false;
    if (index >= 0) {
        disconnect(frameLink_);
        if (auto *view = qobject_cast<LiveView *>(viewWindow)) {
            view->Clear();
            frameLink_ = connect(graph_.get(), &CameraGraph::frameReady, view, &LiveView::ShowFrame);
        }
        QSize frame;
        opened = graph_->BuildCaptureGraph(index, &frame);
        if (opened) {
            camera_->setCurrentIndex(index);
            live_->setChecked(true);
            cameraState_ = 1;
            if (viewWindow)
                viewWindow->show();
            defaultCameraIndex_ = index;
            frameSize_->setText(FrameSizeText(frame));
            if (guideShown_ && guideWindow_ && viewWindow) {
                guideWindow_->setParent(viewWindow);
                guideWindow_->move(0, 0);
                guideWindow_->show();
                guideWindow_->raise();
            }
            guideParent_ = viewWindow;
            SnapShotCameraOpened(camera_->itemText(index));
        }
    }
    if (!opened)
        live_->setChecked(false);
    EnableCameraControls(opened);
}

bool CImageTab::SaveFrozenFrame(const QString &path, const QString &extension, QString *reason)
{
    return graph_->SaveSnapshot(path, extension, reason);
}

void CImageTab::OnCapture()
{
    if (cameraState_ != 1 && cameraState_ != 2)
        return;
    live_->setChecked(false);
    // Pauses first, so the picture on screen is the frame written. A work
    // file that cannot be written is said at once, with the system's reason.
    QString reason;
    if (!graph_->SaveSnapshot(workFilePath_, QStringLiteral("bmp"), &reason) &&
        graph_->state() == CameraGraph::State::Paused)
        ShowCameraMessage(SnapshotFailureText(workFilePath_, reason, language_));
    cameraState_ = 2;
    SetSaveImageEnabled(true);
    if (owner_)
        owner_->document().SetOrigin(ImageOrigin::CameraFrame);
}

void CImageTab::OnLiveToggle()
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

void CImageTab::OnCameraChoice(int index)
{
    if (index == defaultCameraIndex_)
        return;
    graph_->resetDesiredSize();
    OpenCamera(index, owner_ ? owner_->liveView() : guideParent_.data());
    update();
}

void CImageTab::OnImageSetting()
{
    ShowCameraProperties(*graph_, *prompter_, this, language_, devices_.openControls);
    update();
}

void CImageTab::OnOutputSetting()
{
    QSize frame;
    const bool running = ShowFormatProperties(*graph_, this, language_, &frame);
    if (running) {
        frameSize_->setText(FrameSizeText(frame));
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

void CImageTab::OnGuideToggle()
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

void CImageTab::OnThicknessChange(int position)
{
    thicknessText_ = QString::number(position + 1);
    thickness_->setCurrentIndex(position);
    UpdateGuideShape();
    update();
}

void CImageTab::OnGuideColor()
{
    if (!guideWindow_)
        return;
    if (const auto colour = prompter_->chooseColor(this, guideWindow_->colour()))
        guideWindow_->setColour(*colour);
    update();
}

void CImageTab::UpdateGuideShape()
{
    if (guideWindow_)
        guideWindow_->setThickness(thicknessText_.toInt());
}

void CImageTab::EnterNoCameraState()
{
    StopSnapShotPoll();
    cameraState_ = 0;
    live_->setChecked(false);
    RemoveWorkFile();
    SetSaveImageEnabled(false);
    EnableCameraControls(false);
}

void CImageTab::OnCameraStopped(const QString &reason)
{
    // The graph is already released; the view keeps the last frame.
    EnterNoCameraState();
    const QString text = language_ == Language::English
                             ? QStringLiteral("The camera stopped (%1).").arg(reason)
                             : QStringLiteral("カメラが停止しました（%1）。").arg(reason);
    ShowCameraMessage(text);
}

void CImageTab::ShowCameraMessage(const QString &text)
{
    prompter_->message(this, text, QStringLiteral("Orvalin"), UiPrompter::Buttons::Ok,
                       UiPrompter::Icon::Warning);
}

void CImageTab::SetSaveImageEnabled(bool on)
{
    if (!owner_)
        return;
    if (QPushButton *save = owner_->button(DlgCommand::SaveImage))
        save->setEnabled(on);
}

void CImageTab::RemoveWorkFile()
{
    if (!workFilePath_.isEmpty())
        QFile::remove(workFilePath_);
}

}  // namespace orv
