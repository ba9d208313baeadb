#pragma once
// The camera module: lists the cameras, runs one of them as a graph
// (source -> videoconvert -> BGR caps -> appsink), freezes and resumes it,
// writes the frozen frame, offers the source's frame sizes and rebuilds at a
// chosen one. Used on the UI thread only; GStreamer's streaming thread hands
// frames over through a one-frame mailbox and a queued call, so a busy UI
// never builds a backlog and always gets the newest frame. An open never
// waits for the device: it ends later, in openFinished.

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "capture/camera/camera_devices.h"
#include "capture/camera/camera_frame.h"

class QTimer;

namespace orv {

// Failure messages of the graph's steps (shown in these words whatever the
// display language), each for the step of the build it names.
namespace camera_messages {
// The pipeline could not be made (or GStreamer could not start).
inline constexpr char kPipeline[] = "pGraphBuilderの作成に失敗しました。";
// No appsink element.
inline constexpr char kGrabberElement[] = "pSampleGrabberFilterの作成に失敗しました。";
// The grabber element is not an appsink.
inline constexpr char kGrabberInterface[] = "pSampleGrabberの作成に失敗しました。";
// No videoconvert, capsfilter (or, for JPEG-only sizes, jpegdec).
inline constexpr char kConverter[] = "pCaptureGraphBuilder2 の作成に失敗しました。";
// The pipeline has no bus to watch.
inline constexpr char kBus[] = "pMediaControl の作成に失敗しました。";
// The chain from the source to the grabber could not be linked.
inline constexpr char kLink[] = "pVideoWindow の作成に失敗しました。";
// The device monitor could not be made.
inline constexpr char kMonitor[] = "pCreateDevEnum の作成に失敗しました。";
// The device gave no source element, or did not open or start streaming.
inline constexpr char kDevice[] = "デバイスのバインドに失敗しました。";
}  // namespace camera_messages

class CameraGraph : public QObject {
    Q_OBJECT

public:
    // Opening: built and started, waiting for the first frame.
    enum class State { None, Opening, Running, Paused };
    using MessageSink = std::function<void(const QString &message)>;
    using TooLargeText = std::function<QString(QSize frameSize)>;

    explicit CameraGraph(QObject *parent = nullptr);
    ~CameraGraph() override;

    // Where failure messages go (the app shows them in a message box); by
    // default they are logged.
    void setMessageSink(MessageSink sink);
    // The message for a frame size beyond the image size limit (the app
    // gives it in the window's language).
    void setTooLargeText(TooLargeText text) { tooLargeText_ = std::move(text); }
    // Frames of more pixels are refused (MaxImagePixels() by default).
    void setMaxFramePixels(qint64 pixels) { maxFramePixels_ = pixels; }
    // The test-pattern camera (initially from ORVALIN_TEST_CAMERA).
    void setTestPattern(std::optional<TestPatternSetting> setting) { testPattern_ = std::move(setting); }
    // How long an open waits for the first frame before it counts as failed
    // (a timer on this thread: nothing sleeps meanwhile).
    void setStartTimeout(std::chrono::milliseconds timeout) { startTimeout_ = timeout; }

    // Lists the cameras anew; names receives them in order. Returns their number.
    int EnumerateCameras(QStringList &names);
    QStringList cameraNames() const;

    // Starts opening the camera at index (of the last listing) and returns at
    // once: the graph is Opening, and openFinished follows. False (after the
    // message, and with no signal) when the graph cannot be built or the
    // device does not start.
    bool BuildCaptureGraph(int deviceIndex);
    // Freezes: the newest frame stays as the frozen frame and is handed to
    // the view once more, so view and snapshot show the same frame.
    void PauseCapture();
    // Stops and runs the graph again.
    void ResumeCapture();
    // Stops and drops the graph; harmless when nothing is built. An open
    // under way ends silently (no openFinished).
    void ReleaseCaptureGraph();
    // Pauses, then writes the frozen frame: JPEG for type "jpg", else BMP.
    // On failure *reason (when given) gets the system's reason; it stays
    // empty when there was no frame to write.
    bool SaveSnapshot(const QString &path, const QString &type, QString *reason = nullptr);

    // The frame sizes the open (or last opened) camera offers.
    std::vector<QSize> FormatSizes() const;
    // Makes size the desired size and starts rebuilding the same camera with
    // it, as BuildCaptureGraph does.
    bool ApplyFormat(QSize size);
    // The size forced on the next build; width below 1 means the source's own.
    int desiredWidth() const { return desiredWidth_; }
    int desiredHeight() const { return desiredHeight_; }
    void setDesiredSize(int width, int height);
    void resetDesiredSize() { setDesiredSize(-1, -1); }

    // The V4L2 node of the open (or last opened) camera; empty without one.
    QString deviceNode() const;

    State state() const { return state_; }
    int deviceIndex() const { return deviceIndex_; }
    QSize frameSize() const { return frameSize_; }
    // The frozen frame while paused, else the last frame handed out.
    CameraFrame currentFrame() const { return state_ == State::Paused ? frozen_ : lastFrame_; }

signals:
    // A new frame for the view (UI thread).
    void frameReady(const orv::CameraFrame &frame);
    // The running camera failed or went away; the graph is already released.
    void cameraStopped(const QString &reason);
    // The open begun by BuildCaptureGraph or ApplyFormat ended: opened, the
    // first frame was handed out and the graph runs at frameSize(); else its
    // message was given (an error, a frame too large, or no frame within the
    // start time-out) and the graph is released.
    void openFinished(bool opened);

private:
    struct Stream;

    bool Fail(const char *message);
    bool FailTooLarge(QSize size);
    // What ended a stream: its refused frame size, or the first error.
    QString StreamFailure(Stream &stream) const;
    const CameraDevice *Camera(int index) const;
    QSize ForcedSize(const CameraDevice &camera) const;
    // UI thread: takes the newest frame, or releases after a stream error.
    Q_INVOKABLE void OnStreamEvent();
    // While opening: the first frame ends the open; an error before it fails it.
    void ContinueOpen();
    void OnStartTimeout();
    // Releases, gives the message and ends the open as failed.
    void FailOpen(QSize refused, const QString &error);

    MessageSink messageSink_;
    TooLargeText tooLargeText_;
    qint64 maxFramePixels_;
    std::optional<TestPatternSetting> testPattern_;
    std::chrono::milliseconds startTimeout_{10000};
    QTimer *startTimer_ = nullptr;  // runs while Opening
    std::uint64_t opens_ = 0;       // counts opens begun; a message box may start another
    std::vector<CameraDevice> cameras_;
    bool listed_ = false;
    bool monitorCreated_ = true;

    std::unique_ptr<Stream> stream_;  // the built graph, null when none
    State state_ = State::None;
    int deviceIndex_ = -1;  // survives releases: a rebuild finds the camera
    int desiredWidth_ = -1;
    int desiredHeight_ = -1;
    QSize frameSize_;
    CameraFrame frozen_;
    CameraFrame lastFrame_;
};

}  // namespace orv
