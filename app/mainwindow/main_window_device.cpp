// Main window: the wireless microscope receiver and the device events that
// the receiver thread and the image page post to the window.
#include "app/mainwindow/main_window.h"

#include <QDebug>
#include <QDir>
#include <QFont>
#include <QMetaObject>
#include <QSignalBlocker>
#include <QTabWidget>

#include "app/dialogs/ui_prompter.h"
#include "app/pages/image/image_page.h"
#include "app/pages/image/live_view.h"
#include "capture/device_event.h"
#include "capture/wireless/wireless_protocol.h"
#include "capture/wireless/wireless_receiver.h"
#include "document/measure_document.h"

namespace orv {
namespace {

// The wireless work file, in the start directory (the current one at start-up).
constexpr char kWirelessWorkFile[] = "Orvalin_Workfile.jpg";

constexpr char kWaitText[] = "Please Wait...";
// x = 320 - 15 * ((14 + 1) / 2): the 14-character text centred on 15-pixel cells.
constexpr int kWaitX = 320 - 15 * ((14 + 1) / 2);
constexpr int kWaitY = 225;

// Wireless mode was switched on, but the microscope's port cannot be listened on.
QString WirelessPortText(Language language, int port, const QString &reason)
{
    return language == Language::English
        ? QStringLiteral("The wireless microscope cannot be received: UDP port %1 cannot be used (%2).\n"
                         "Another program may be using it.")
              .arg(port)
              .arg(reason)
        : QStringLiteral("ワイヤレス顕微鏡を受信できません。UDP ポート %1 を使用できません（%2）。\n"
                         "他のプログラムが使用している可能性があります。")
              .arg(port)
              .arg(reason);
}

}  // namespace

void MainWindow::StartWirelessReceiver()
{
    receiver_ = std::make_unique<WirelessReceiver>();
    WirelessReceiver::Config config;
    config.port = env_.wirelessPort;
    config.viewSize = LiveView::kViewSize;
    config.notifyMask = kMainWindowNotifyMask;
    config.saveWaitMs = env_.wirelessSaveWaitMs;
    // Both signals come from the receiver thread: the context object makes
    // them queued, so the slots run on this (the UI) thread.
    connect(receiver_.get(), &WirelessReceiver::deviceEvent, this,
            [this](int code, int argument) { OnDeviceEvent(code, argument); });
    connect(receiver_.get(), &WirelessReceiver::frameReady, this, &MainWindow::ShowWirelessPicture);
    connect(receiver_.get(), &WirelessReceiver::frameSaveFinished, this, &MainWindow::FinishWirelessCapture);
    if (!receiver_->StartReceiver(config)) {
        // Nothing to tell the user yet: wireless mode then simply shows no picture.
        qWarning().noquote() << "Wireless receiver not started:" << receiver_->errorString();
        return;
    }
    receiver_->SetOverlayOptions(QStringLiteral("(nil)"), 0, QStringLiteral("Black"));
    receiver_->SetDisplayOff();
}

void MainWindow::ShowWirelessPicture()
{
    if (!receiver_)
        return;
    // Taking the picture re-arms the signal even when it is not shown.
    QSize frameSize;
    QRect shownArea;
    const QImage picture = receiver_->LatestFrame(&frameSize, &shownArea);
    if (auto *live = qobject_cast<LiveView *>(liveView_))
        live->ShowPicture(picture, frameSize, shownArea);
}

void MainWindow::PostDeviceEvent(int code, int argument)
{
    emit deviceEventPosted(code, argument);
    QMetaObject::invokeMethod(
        this, [this, code, argument] { OnDeviceEvent(code, argument); }, Qt::QueuedConnection);
}

int MainWindow::OnDeviceEvent(int code, int argument)
{
    switch (static_cast<DeviceEvent>(code)) {
    case DeviceEvent::LongPress:
        if (!imagePage_ || imagePage_->wirelessMode() != 1)
            break;
        if (argument != 0)
            DrawWaitNotice(false);
        // Posted, not run: the capture follows the notice, as its own event.
        PostDeviceEvent(static_cast<int>(DeviceEvent::NbCapture), 0);
        break;
    case DeviceEvent::NbStart:
        // The port may have come free since start-up (another program left it).
        if (!receiver_ || !receiver_->started())
            StartWirelessReceiver();
        if (receiver_ && receiver_->started()) {
            DrawWaitNotice(true);
            receiver_->SetDisplayOn(1);
            break;
        }
        prompter().message(
            this, WirelessPortText(language_, env_.wirelessPort, receiver_ ? receiver_->errorString() : QString()),
            windowTitle(), UiPrompter::Buttons::Ok, UiPrompter::Icon::Warning);
        // No picture can come: the page goes back to the camera's controls
        // (a quick second click may have done so already).
        if (imagePage_ && imagePage_->wirelessMode() == 1)
            imagePage_->SetWirelessMode(0);
        break;
    case DeviceEvent::NbStop:
        if (receiver_)
            receiver_->SetDisplayOff();
        break;
    case DeviceEvent::NbCapture: CaptureWirelessFrame(); break;
    case DeviceEvent::NbSetScale:
        if (receiver_ && imagePage_)
            receiver_->SetOverlayOptions(imagePage_->lensText(), imagePage_->crossIndicator(),
                                         imagePage_->overlayColourText());
        break;
    default: break;
    }
    return 0;
}

void MainWindow::DrawWaitNotice(bool whiteFrame)
{
    auto *live = qobject_cast<LiveView *>(liveView_);
    if (!live)
        return;
    live->PaintOver([whiteFrame](QPainter &p) {
        if (whiteFrame) {
            // The window's default pen and brush: a black frame filled white.
            p.setPen(Qt::black);
            p.setBrush(Qt::white);
            p.drawRect(0, 0, 639, 479);
        }
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPixelSize(30);
        p.setFont(font);
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        // The given point is the top of the text.
        p.drawText(QPoint(kWaitX, kWaitY + p.fontMetrics().ascent()), QLatin1String(kWaitText));
    });
    live->update();
}

void MainWindow::CaptureWirelessFrame()
{
    if (!receiver_ || !imagePage_)
        return;
    // A capture already waiting for its frame answers for this press too.
    receiver_->RequestFrameSave(QDir(env_.startDir).filePath(QLatin1String(kWirelessWorkFile)));
}

void MainWindow::FinishWirelessCapture(FrameSaveResult result, const QString &path)
{
    // Wireless mode was left while the capture waited: the capture went with it.
    if (!imagePage_ || imagePage_->wirelessMode() != 1)
        return;
    switch (result) {
    case FrameSaveResult::Saved: break;
    case FrameSaveResult::Cancelled:
        // The button was let go before a frame came: wireless mode goes on.
        return;
    case FrameSaveResult::TimedOut:
    case FrameSaveResult::WriteFailed:
        prompter().message(this, QStringLiteral("保存に失敗しました。"), windowTitle(), UiPrompter::Buttons::Ok,
                           UiPrompter::Icon::Warning);
        return;
    }
    imagePage_->SetWirelessMode(0);
    imagePage_->OpenCamera(-1, liveView_);
    {
        // The page switch runs once, below, after the frame is loaded.
        const QSignalBlocker block(tabs_);
        SelectTab(PageScale);
    }
    ToolSelect();
    LoadImageFile(path);
    if (hasImage()) {
        doc_->SetOrigin(ImageOrigin::WirelessFrame);
        doc_->SetStillCamera(QLatin1String(kWirelessCameraName));
        imagePage_->CarryLiveMeasurements();
    }
    OnTabChange();
}

}  // namespace orv
