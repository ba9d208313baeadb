#include "capture/wireless_receiver.h"

#include "capture/device_event.h"
#include "capture/receiver_socket.h"
#include "capture/wireless_picture.h"
#include "capture/wireless_presence.h"
#include "capture/wireless_reassembler.h"

#include <pthread.h>
#include <time.h>

#include <chrono>

namespace orv {

// Receiver thread only: the last complete, decodable frame, and the label
// font of the overlay (built once per size; building it measures the face).
struct WirelessReceiver::WorkerState {
    std::vector<std::uint8_t> bytes;
    int width = 0;               // decoded width, used to re-render a saved frame
    bool fitsHeldButton = false; // may satisfy a save while the button is held
    int fontHeight = -1;
    QFont labelFont;
};

WirelessReceiver::WirelessReceiver(QObject *parent) : QObject(parent) {}

WirelessReceiver::~WirelessReceiver()
{
    run_.store(false);
    if (thread_.joinable())
        thread_.join();
}

bool WirelessReceiver::StartReceiver(const Config &config)
{
    if (thread_.joinable())
        return true;
    auto socket = ReceiverSocket::Bind(config.port, &error_);
    if (!socket)
        return false;
    config_ = config;
    if (!config_.viewSize.isValid() || config_.viewSize.isEmpty())
        config_.viewSize = QSize(640, 480);
    port_ = socket->port();
    displayOn_.store(true);
    displayMode_.store(1);
    {
        const std::lock_guard lock(optionsMutex_);
        options_ = OverlayOptions{};
    }
    run_.store(true);
    thread_ = std::thread(&WirelessReceiver::ReceiverThread, this, std::move(socket));
    return true;
}

void WirelessReceiver::SetDisplayOn(int mode)
{
    displayMode_.store(mode);
    displayOn_.store(true);
}

void WirelessReceiver::SetDisplayOff()
{
    displayOn_.store(false);
}

void WirelessReceiver::SetOverlayOptions(const QString &lensText, int crossIndicator, const QString &colourText)
{
    OverlayOptions options;
    options.lens = lensText;
    options.cross = crossIndicator != 0;
    options.colour = colourText;
    const std::lock_guard lock(optionsMutex_);
    options_ = std::move(options);
}

OverlayOptions WirelessReceiver::CopyOptions() const
{
    const std::lock_guard lock(optionsMutex_);
    OverlayOptions copy = options_;
    // The copy must not share string data with the UI thread's texts.
    copy.lens.detach();
    copy.colour.detach();
    return copy;
}

FrameSaveResult WirelessReceiver::RequestFrameSave(const QString &path)
{
    if (!thread_.joinable())
        return FrameSaveResult::TimedOut;
    std::unique_lock lock(saveMutex_);
    save_.path = path;
    save_.path.detach();
    save_.id = nextSaveId_++;
    save_.done = false;
    const bool finished = saveDone_.wait_for(lock, std::chrono::milliseconds(config_.saveWaitMs),
                                             [this] { return save_.done; });
    const FrameSaveResult result = finished ? save_.result : FrameSaveResult::TimedOut;
    // Cleared either way: a late frame is not written for an expired request.
    save_.id = 0;
    save_.done = false;
    return result;
}

QImage WirelessReceiver::LatestFrame()
{
    const std::lock_guard lock(frameMutex_);
    framePending_.store(false);
    return latest_;
}

double WirelessReceiver::ThreadCpuSeconds() const
{
    if (!thread_.joinable())
        return 0;
    clockid_t clock{};
    timespec ts{};
    // native_handle is not const, but reading the handle changes nothing.
    auto &thread = const_cast<std::thread &>(thread_);
    if (pthread_getcpuclockid(thread.native_handle(), &clock) != 0 || clock_gettime(clock, &ts) != 0)
        return 0;
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::int64_t WirelessReceiver::Now() const
{
    if (config_.clockMs)
        return config_.clockMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void WirelessReceiver::Notify(int code, int argument)
{
    if (NotifyMaskAllows(config_.notifyMask, code))
        emit deviceEvent(code, argument);
}

void WirelessReceiver::ReceiverThread(std::unique_ptr<ReceiverSocket> socket)
{
    using std::chrono::milliseconds;
    WirelessReassembler reassembler;
    StreamPresence presence(config_.silenceTimeoutMs);
    WorkerState last;

    // Datagrams queued before the start belong to no frame we can finish.
    std::vector<std::uint8_t> scratch(kDatagramBufferBytes);
    while (run_.load() && socket->ReceiveDatagram(scratch, kReadTimeoutMs) > 0) {
    }
    listening_.store(true);

    auto handle = [&](const ReadOutcome &outcome) {
        if (outcome.buttonReset && outcome.heldAtReset)
            CancelSave();
        if (outcome.buttonMessage)
            Notify(static_cast<int>(DeviceEvent::LongPress), *outcome.buttonMessage);
        if (outcome.frameComplete)
            ShowFrame(reassembler.TakeFrame(), last);
    };

    while (run_.load()) {
        reassembler.SetDisplayOn(displayOn_.load());
        long n = socket->ReceiveDatagram(reassembler.PrepareRead(), kReadTimeoutMs);
        if (const int change = presence.Update(n > 0, Now()))
            Notify(change, 0);
        if (n > 0) {
            handle(reassembler.OnRead(static_cast<std::size_t>(n)));
            // The rest of the frame is read here, piece after piece.
            while (reassembler.inFrame() && run_.load()) {
                reassembler.SetDisplayOn(displayOn_.load());
                n = socket->ReceiveDatagram(reassembler.PrepareRead(), kReadTimeoutMs);
                if (n > 0) {
                    handle(reassembler.OnRead(static_cast<std::size_t>(n)));
                } else {
                    handle(reassembler.OnEmptyRead());
                    std::this_thread::sleep_for(milliseconds(kReadTimeoutMs));
                }
            }
        } else {
            reassembler.OnEmptyRead();
        }
        ServeSave(last, reassembler.buttonPressed());
        std::this_thread::sleep_for(milliseconds(kReadTimeoutMs));
    }
}

void WirelessReceiver::ShowFrame(std::vector<std::uint8_t> bytes, WorkerState &last)
{
    if (bytes.empty() || !displayOn_.load())
        return;
    const int mode = displayMode_.load() == 0 ? 0 : 1;
    const QSize view = config_.viewSize;
    const OverlayOptions options = CopyOptions();

    QImage picture;
    std::uint32_t drawn = 0;
    if (mode == 1) {
        // Decoded straight at the view size, the picture is the view.
        QSize natural;
        picture = DecodePicture(bytes, view, &natural);
        if (!picture.isNull()) {
            drawn = (std::uint32_t(natural.width()) << 16) | std::uint32_t(natural.height());
            if (picture.size() != view)
                picture = picture.scaled(view);
            if (picture.format() != QImage::Format_RGB32)
                picture.convertTo(QImage::Format_RGB32);
        }
    } else {
        picture = QImage(view, QImage::Format_RGB32);
        picture.fill(Qt::black);
        QPainter p(&picture);
        drawn = DrawPicture(p, bytes, 0, 0, view.width(), view.height(), 0);
    }
    if (drawn == 0)
        return;  // undecodable: the last good frame stays, in the view and for saving
    const int w = PictureWidth(drawn);
    const int h = PictureHeight(drawn);
    QPainter p(&picture);
    const QRect area = mode == 1 ? QRect(QPoint(0, 0), view) : QRect((view.width() - w) / 2, (view.height() - h) / 2, w, h);
    if (last.fontHeight != area.height()) {
        last.fontHeight = area.height();
        last.labelFont = LensLabelFont(area.height());
    }
    DrawLensOverlay(p, area.x(), area.y(), area.width(), area.height(), options.lens, options.cross, options.colour,
                    &last.labelFont);
    p.end();

    last.bytes = std::move(bytes);
    last.width = w;
    last.fitsHeldButton = (w == kButtonCaptureWidth);
    framesDrawn_.fetch_add(1);
    {
        const std::lock_guard lock(frameMutex_);
        latest_ = std::move(picture);
    }
    if (!framePending_.exchange(true))
        emit frameReady();
}

void WirelessReceiver::ServeSave(WorkerState &last, bool buttonHeld)
{
    QString path;
    std::uint64_t id = 0;
    {
        const std::lock_guard lock(saveMutex_);
        if (save_.id == 0 || save_.done)
            return;
        id = save_.id;
        path = save_.path;
        path.detach();
    }
    if (last.bytes.empty())
        return;
    if (buttonHeld && !last.fitsHeldButton)
        return;  // wait for a frame taken while the button is held (1280 wide)
    const bool written = SaveWirelessFrame(path, last.bytes, last.width, CopyOptions());
    const std::lock_guard lock(saveMutex_);
    if (save_.id != id)
        return;  // the requester gave up meanwhile
    save_.result = written ? FrameSaveResult::Saved : FrameSaveResult::WriteFailed;
    save_.done = true;
    saveDone_.notify_all();
}

void WirelessReceiver::CancelSave()
{
    const std::lock_guard lock(saveMutex_);
    if (save_.id == 0 || save_.done)
        return;
    save_.result = FrameSaveResult::Cancelled;
    save_.done = true;
    saveDone_.notify_all();
}

}  // namespace orv
