#include "capture/wireless/wireless_receiver.h"

#include "capture/device_event.h"
#include "capture/wireless/receiver_socket.h"
#include "capture/wireless/wireless_picture.h"
#include "capture/wireless/wireless_presence.h"
#include "capture/wireless/wireless_reassembler.h"

#include <QTimer>

#include <pthread.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <utility>

namespace orv {
namespace {

// While a stream is present the loop looks at the clock at least this often
// (the clock may be a test's, which real waits do not follow).
constexpr int kLongestPresenceWaitMs = 100;

}  // namespace

// Receiver thread only: the last complete, decodable frame, and the label
// font of the overlay (built once per size; building it measures the face).
struct WirelessReceiver::WorkerState {
    std::vector<std::uint8_t> bytes;
    int width = 0;                // decoded width, used to re-render a saved frame
    QSize natural;                // the frame's own size
    bool fitsHeldButton = false;  // may satisfy a save while the button is held
    QImage plain;                 // its picture before the overlay, for redrawing that
    QRect area;                   // where the overlay goes over it
    std::uint64_t session = 0;    // the display session it was shown in
    int fontHeight = -1;
    QFont labelFont;
};

WirelessReceiver::WirelessReceiver(QObject *parent) :
    QObject(parent)
{
    saveTimer_ = new QTimer(this);
    saveTimer_->setSingleShot(true);
    connect(saveTimer_, &QTimer::timeout, this, &WirelessReceiver::ExpireSave);
}

WirelessReceiver::~WirelessReceiver()
{
    run_.store(false);
    if (thread_.joinable()) {
        socket_->Wake();
        thread_.join();
    }
}

bool WirelessReceiver::StartReceiver(const Config &config)
{
    if (thread_.joinable())
        return true;
    socket_ = ReceiverSocket::Bind(config.port, &error_);
    if (!socket_)
        return false;
    config_ = config;
    if (!config_.viewSize.isValid() || config_.viewSize.isEmpty())
        config_.viewSize = QSize(640, 480);
    port_ = socket_->port();
    displayOn_.store(true);
    displayMode_.store(1);
    {
        const std::lock_guard lock(optionsMutex_);
        options_ = OverlayOptions{};
    }
    run_.store(true);
    thread_ = std::thread(&WirelessReceiver::ReceiverThread, this);
    return true;
}

void WirelessReceiver::SetDisplayOn(int mode)
{
    displayMode_.store(mode);
    displaySession_.fetch_add(1);
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
    {
        const std::lock_guard lock(optionsMutex_);
        options_ = std::move(options);
    }
    overlayChanged_.store(true);
    if (socket_)
        socket_->Wake();
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

bool WirelessReceiver::RequestFrameSave(const QString &path)
{
    if (unanswered_ != 0)
        return false;
    const std::uint64_t id = nextSaveId_++;
    unanswered_ = id;
    unansweredPath_ = path;
    if (!thread_.joinable()) {
        // No frame can come; answered like a request nothing satisfied.
        QMetaObject::invokeMethod(
            this, [this, id] { FinishSave(id, FrameSaveResult::TimedOut); }, Qt::QueuedConnection);
        return true;
    }
    {
        const std::lock_guard lock(saveMutex_);
        save_ = SaveRequest{};
        save_.path = path;
        save_.path.detach();
        save_.id = id;
    }
    socket_->Wake();
    saveTimer_->start(config_.saveWaitMs);
    return true;
}

void WirelessReceiver::ExpireSave()
{
    {
        const std::lock_guard lock(saveMutex_);
        // Taken or answered by the thread: its answer is on the way.
        if (save_.id != unanswered_ || save_.writing || save_.result)
            return;
        // Cleared here: a frame coming later is not written for it.
        save_ = SaveRequest{};
    }
    FinishSave(unanswered_, FrameSaveResult::TimedOut);
}

void WirelessReceiver::TakeSaveResult()
{
    std::uint64_t id = 0;
    FrameSaveResult result{};
    {
        const std::lock_guard lock(saveMutex_);
        if (!save_.result)
            return;
        id = save_.id;
        result = *save_.result;
        save_ = SaveRequest{};
    }
    FinishSave(id, result);
}

void WirelessReceiver::FinishSave(std::uint64_t id, FrameSaveResult result)
{
    if (id == 0 || id != unanswered_)
        return;
    unanswered_ = 0;
    saveTimer_->stop();
    const QString path = std::exchange(unansweredPath_, QString());
    emit frameSaveFinished(result, path);
}

QImage WirelessReceiver::LatestFrame(QSize *frameSize, QRect *shownArea)
{
    const std::lock_guard lock(frameMutex_);
    framePending_.store(false);
    if (frameSize)
        *frameSize = latestFrameSize_;
    if (shownArea)
        *shownArea = latestArea_;
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
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void WirelessReceiver::Notify(int code, int argument)
{
    if (NotifyMaskAllows(config_.notifyMask, code))
        emit deviceEvent(code, argument);
}

void WirelessReceiver::ReceiverThread()
{
    ReceiverSocket &socket = *socket_;
    using std::chrono::milliseconds;
    WirelessReassembler reassembler;
    StreamPresence presence(config_.silenceTimeoutMs);
    WorkerState last;

    // Datagrams queued before the start belong to no frame we can finish.
    std::vector<std::uint8_t> scratch(kDatagramBufferBytes);
    while (run_.load() && socket.ReceiveDatagram(scratch, kReadTimeoutMs) > 0) { }
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
        // Without a stream this sleeps until a datagram or a Wake(); only
        // the pieces of a frame are read against a clock.
        const int wait = presence.WaitMs(Now());
        long n = socket.WaitDatagram(reassembler.PrepareRead(), wait < 0 ? -1 : std::min(wait, kLongestPresenceWaitMs));
        if (const int change = presence.Update(n > 0, Now()))
            Notify(change, 0);
        if (n > 0) {
            handle(reassembler.OnRead(static_cast<std::size_t>(n)));
            // The rest of the frame is read here, piece after piece.
            while (reassembler.inFrame() && run_.load()) {
                reassembler.SetDisplayOn(displayOn_.load());
                n = socket.ReceiveDatagram(reassembler.PrepareRead(), kReadTimeoutMs);
                if (n > 0) {
                    handle(reassembler.OnRead(static_cast<std::size_t>(n)));
                } else {
                    handle(reassembler.OnEmptyRead());
                    std::this_thread::sleep_for(milliseconds(kReadTimeoutMs));
                }
            }
        } else {
            reassembler.OnEmptyRead();
            if (n < 0)
                std::this_thread::sleep_for(milliseconds(kReadTimeoutMs));  // a failing socket must not spin
        }
        if (overlayChanged_.exchange(false))
            RedrawOverlay(last);
        ServeSave(last, reassembler.buttonPressed());
    }
}

void WirelessReceiver::ShowFrame(std::vector<std::uint8_t> bytes, WorkerState &last)
{
    if (bytes.empty() || !displayOn_.load())
        return;
    const std::uint64_t session = displaySession_.load();
    const int mode = displayMode_.load() == 0 ? 0 : 1;
    const QSize view = config_.viewSize;

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
    last.area = mode == 1 ? QRect(QPoint(0, 0), view) : QRect((view.width() - w) / 2, (view.height() - h) / 2, w, h);
    last.plain = std::move(picture);
    last.session = session;
    last.bytes = std::move(bytes);
    last.width = w;
    last.natural = QSize(w, h);
    last.fitsHeldButton = (w == kButtonCaptureWidth);
    // Options changed until now are in this picture.
    overlayChanged_.store(false);
    Publish(Overlaid(last), last);
    framesDrawn_.fetch_add(1);
}

QImage WirelessReceiver::Overlaid(WorkerState &last) const
{
    if (last.fontHeight != last.area.height()) {
        last.fontHeight = last.area.height();
        last.labelFont = LensLabelFont(last.area.height());
    }
    return WithLensOverlay(last.plain, last.area, CopyOptions(), &last.labelFont);
}

void WirelessReceiver::RedrawOverlay(WorkerState &last)
{
    // Only a picture of this display session: a new session shows the wait
    // notice until the stream's own next frame.
    if (last.plain.isNull() || !displayOn_.load() || last.session != displaySession_.load())
        return;
    Publish(Overlaid(last), last);
}

void WirelessReceiver::Publish(QImage picture, const WorkerState &from)
{
    {
        const std::lock_guard lock(frameMutex_);
        latest_ = std::move(picture);
        latestFrameSize_ = from.natural;
        latestArea_ = from.area;
    }
    if (!framePending_.exchange(true))
        emit frameReady();
}

void WirelessReceiver::ServeSave(WorkerState &last, bool buttonHeld)
{
    if (last.bytes.empty())
        return;
    if (buttonHeld && !last.fitsHeldButton)
        return;  // wait for a frame taken while the button is held (1280 wide)
    QString path;
    {
        const std::lock_guard lock(saveMutex_);
        if (save_.id == 0 || save_.writing || save_.result)
            return;
        save_.writing = true;
        path = save_.path;
        path.detach();
    }
    const bool written = SaveWirelessFrame(path, last.bytes, last.width, CopyOptions());
    {
        const std::lock_guard lock(saveMutex_);
        save_.writing = false;
        save_.result = written ? FrameSaveResult::Saved : FrameSaveResult::WriteFailed;
    }
    // The call carries nothing: the result waits under the mutex.
    QMetaObject::invokeMethod(this, "TakeSaveResult", Qt::QueuedConnection);
}

void WirelessReceiver::CancelSave()
{
    {
        const std::lock_guard lock(saveMutex_);
        if (save_.id == 0 || save_.writing || save_.result)
            return;
        save_.result = FrameSaveResult::Cancelled;
    }
    QMetaObject::invokeMethod(this, "TakeSaveResult", Qt::QueuedConnection);
}

}  // namespace orv
