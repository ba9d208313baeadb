#pragma once
// The wireless microscope receiver: one thread reads the UDP stream,
// reassembles frames, decodes each complete frame and draws the lens overlay
// over it into a QImage, and reports the microscope's button. The UI thread
// controls it through the operations below and never waits on the thread;
// the thread reports back through queued signals (this object lives on the
// UI thread) and never touches a widget.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "capture/wireless/lens_overlay.h"
#include "capture/wireless/wireless_frame_save.h"
#include "capture/wireless/wireless_protocol.h"

class QTimer;

namespace orv {

class ReceiverSocket;

class WirelessReceiver : public QObject {
    Q_OBJECT
public:
    struct Config {
        std::uint16_t port = kWirelessPort;  // 0 binds any free port (tests)
        QSize viewSize{640, 480};            // size of the pictures handed over
        int notifyMask = kMainWindowNotifyMask;
        int silenceTimeoutMs = kSilenceTimeoutMs;
        int saveWaitMs = kFrameSaveWaitMs;
        std::function<std::int64_t()> clockMs;  // tick count; a steady clock when empty
    };

    explicit WirelessReceiver(QObject *parent = nullptr);
    // Stops the thread and waits for it (the running application keeps the
    // receiver for its whole life).
    ~WirelessReceiver() override;

    // Binds the socket and starts the thread with the display on in mode 1,
    // no overlay and colour "Black". A second start does nothing and
    // succeeds. False with errorString() when the port cannot be bound.
    bool StartReceiver(const Config &config);
    bool started() const { return thread_.joinable(); }
    QString errorString() const { return error_; }
    std::uint16_t port() const { return port_; }
    // True once datagrams queued before the start have been drained.
    bool listening() const { return listening_.load(); }

    // Mode 1 stretches each frame to the view size, 0 centres it at natural size.
    void SetDisplayOn(int mode);
    void SetDisplayOff();
    // Later frames carry the new overlay; the last frame shown since the
    // display went on is drawn again with it at once (a new picture).
    void SetOverlayOptions(const QString &lensText, int crossIndicator, const QString &colourText);
    // Asks the thread to write its last frame to path and returns at once;
    // frameSaveFinished answers, at the latest Config::saveWaitMs later.
    // False, and no second answer, while an earlier request is unanswered.
    bool RequestFrameSave(const QString &path);

    // The newest picture (view size, overlay drawn); null before the first.
    // Taking it re-arms frameReady. frameSize gets the frame's own size (what
    // a capture saves) and shownArea where the picture shows it.
    QImage LatestFrame(QSize *frameSize = nullptr, QRect *shownArea = nullptr);
    // Complete frames drawn so far.
    std::uint64_t framesDrawn() const { return framesDrawn_.load(); }
    // CPU time the receiver thread has used (seconds), for measurements.
    double ThreadCpuSeconds() const;

signals:
    // Emitted on the receiver thread: connect with a context object living on
    // the UI thread (or Qt::QueuedConnection) so that slots run there.
    //
    // A DeviceEvent code (2, 4 or 8) enabled by the notify mask, and its argument.
    void deviceEvent(int code, int argument);
    // A new picture waits in LatestFrame(); not emitted again until taken, so
    // a slow UI thread only ever sees the newest frame.
    void frameReady();
    // Emitted on this object's thread: the answer to RequestFrameSave(path).
    void frameSaveFinished(orv::FrameSaveResult result, const QString &path);

private:
    struct WorkerState;
    void ReceiverThread();
    void Notify(int code, int argument);
    void ShowFrame(std::vector<std::uint8_t> bytes, WorkerState &worker);
    QImage Overlaid(WorkerState &worker) const;
    void RedrawOverlay(WorkerState &worker);
    void Publish(QImage picture, const WorkerState &from);
    void ServeSave(WorkerState &worker, bool buttonHeld);
    void CancelSave();
    // UI thread, woken by the receiver thread: answers the request with the
    // result the thread left in save_.
    Q_INVOKABLE void TakeSaveResult();
    // UI thread: answers request id, unless it was answered already.
    void FinishSave(std::uint64_t id, FrameSaveResult result);
    // UI thread, at the save time-out.
    void ExpireSave();
    OverlayOptions CopyOptions() const;
    std::int64_t Now() const;

    // Written by StartReceiver before the thread starts, read-only afterwards.
    Config config_;
    std::uint16_t port_ = 0;
    QString error_;  // UI thread only

    // Shared with the receiver thread.
    std::atomic<bool> run_{false};
    std::atomic<bool> listening_{false};
    std::atomic<bool> displayOn_{true};
    std::atomic<int> displayMode_{1};
    std::atomic<std::uint64_t> displaySession_{0};  // counts SetDisplayOn calls
    std::atomic<bool> overlayChanged_{false};
    std::atomic<std::uint64_t> framesDrawn_{0};

    mutable std::mutex optionsMutex_;
    OverlayOptions options_;  // guarded by optionsMutex_

    // The request handed to the thread: set by the UI thread; answered by
    // the thread (written or cancelled) or, unless taken, by the time-out.
    std::mutex saveMutex_;
    struct SaveRequest {
        QString path;
        std::uint64_t id = 0;  // 0: none
        bool writing = false;  // taken by the thread: it no longer expires
        std::optional<FrameSaveResult> result;  // the thread's answer, not yet taken
    } save_;                                    // guarded by saveMutex_
    // UI thread only.
    std::uint64_t nextSaveId_ = 1;
    std::uint64_t unanswered_ = 0;  // the request frameSaveFinished has yet to answer
    QString unansweredPath_;
    QTimer *saveTimer_ = nullptr;  // the time-out of that request

    std::mutex frameMutex_;
    QImage latest_;  // guarded by frameMutex_
    QSize latestFrameSize_;  // guarded by frameMutex_
    QRect latestArea_;       // guarded by frameMutex_
    std::atomic<bool> framePending_{false};

    // Created by StartReceiver before the thread, gone after it: the other
    // threads only Wake() it.
    std::unique_ptr<ReceiverSocket> socket_;
    std::thread thread_;
};

}  // namespace orv
