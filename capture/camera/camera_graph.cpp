#include "capture/camera/camera_graph.h"

#include <QTimer>

#include <gst/app/gstappsink.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "capture/camera/camera_snapshot.h"
#include "capture/camera/happens_before.h"
#include "core/image_limit.h"

namespace orv {

namespace {

gst::SamplePtr LastSample(GstElement *sink)
{
    GstSample *raw = nullptr;
    g_object_get(sink, "last-sample", &raw, nullptr);
    return gst::SamplePtr(raw);
}

}  // namespace

// One built graph. The streaming thread touches only the mailbox (latest,
// under mutex), notifyPending, firstError and refusedSize (under mutex) and
// refused; maxPixels is set before the pipeline starts and only read after;
// the rest belongs to the UI thread. A stream is never reused: calls queued for a released
// one find another stream (or none) and its own mailbox. The destructor
// stops the pipeline, which joins the streaming thread, before any of it
// goes away.
struct CameraGraph::Stream {
    CameraGraph *graph = nullptr;
    gst::ElementPtr pipeline;
    GstElement *sink = nullptr;  // owned by the pipeline

    std::mutex mutex;
    gst::SamplePtr latest;  // newest sample not yet handed to the UI
    QString firstError;     // first error posted on the bus
    QSize refusedSize;      // a frame size beyond maxPixels the source chose
    std::atomic<bool> notifyPending{false};
    std::atomic<bool> refused{false};  // set by the streaming thread, never cleared
    qint64 maxPixels = 0;

    Stream() = default;
    Stream(const Stream &) = delete;
    Stream &operator=(const Stream &) = delete;

    ~Stream()
    {
        if (!pipeline)
            return;
        gst_element_set_state(pipeline.get(), GST_STATE_NULL);
        // The streaming threads are stopped: their callbacks are over.
        TsanAcquire(this);
        gst::BusPtr bus(gst_pipeline_get_bus(GST_PIPELINE(pipeline.get())));
        if (bus)
            gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    }

    QString error()
    {
        std::lock_guard lock(mutex);
        return firstError;
    }

    QSize tooLarge()
    {
        std::lock_guard lock(mutex);
        return refusedSize;
    }

    // Wakes the UI thread. The call carries nothing: what it is about waits
    // in the mailbox or the error flag, under this object's own
    // synchronisation, and a call that arrives for a released graph finds
    // nothing to do.
    void Notify() { QMetaObject::invokeMethod(graph, "OnStreamEvent", Qt::QueuedConnection); }

    // Streaming thread: keep only the newest sample and ask the UI thread
    // once to take it.
    static GstFlowReturn OnNewSample(GstAppSink *appsink, gpointer data)
    {
        auto *self = static_cast<Stream *>(data);
        const TsanCallbackScope scope(self);
        gst::SamplePtr sample(gst_app_sink_pull_sample(appsink));
        if (!sample)
            return GST_FLOW_OK;
        {
            std::lock_guard lock(self->mutex);
            self->latest.swap(sample);
        }
        if (!self->notifyPending.exchange(true))
            self->Notify();
        return GST_FLOW_OK;
    }

    // Streaming thread, on the pad behind the source: caps stating a frame
    // beyond the size limit stop there, and so does every buffer after them,
    // so nothing downstream allocates or copies such a frame.
    static GstPadProbeReturn OnSourcePad(GstPad *, GstPadProbeInfo *info, gpointer data)
    {
        auto *self = static_cast<Stream *>(data);
        const TsanCallbackScope scope(self);
        if (!(info->type & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM))
            return self->refused.load() ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
        GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
        if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
            return GST_PAD_PROBE_OK;
        GstCaps *caps = nullptr;
        gst_event_parse_caps(event, &caps);
        const QSize size = CapsFrameSize(caps);
        if (!size.isValid() || ImageSizeAllowed(size, self->maxPixels))
            return GST_PAD_PROBE_OK;
        self->refused.store(true);
        {
            std::lock_guard lock(self->mutex);
            if (!self->refusedSize.isValid())
                self->refusedSize = size;
            if (!self->firstError.isEmpty())
                return GST_PAD_PROBE_DROP;
            self->firstError = QStringLiteral("frame too large");
        }
        self->Notify();
        return GST_PAD_PROBE_DROP;
    }

    // Any thread that posts: errors and end of stream go to the UI thread;
    // nothing is kept on the bus (no one reads it).
    static GstBusSyncReply OnBusMessage(GstBus *, GstMessage *message, gpointer data)
    {
        auto *self = static_cast<Stream *>(data);
        const TsanCallbackScope scope(self);
        QString reason;
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            GError *raw = nullptr;
            gchar *debug = nullptr;
            gst_message_parse_error(message, &raw, &debug);
            gst::ErrorPtr error(raw);
            gst::CharPtr details(debug);
            reason = error ? QString::fromUtf8(error->message) : QStringLiteral("stream error");
        } else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS) {
            reason = QStringLiteral("end of stream");
        } else {
            return GST_BUS_DROP;
        }
        {
            std::lock_guard lock(self->mutex);
            if (!self->firstError.isEmpty())
                return GST_BUS_DROP;
            self->firstError = reason;
        }
        self->Notify();
        return GST_BUS_DROP;
    }
};

CameraGraph::CameraGraph(QObject *parent) :
    QObject(parent),
    maxFramePixels_(MaxImagePixels()),
    testPattern_(TestCameraFromEnvironment())
{
    qRegisterMetaType<orv::CameraFrame>();
    gst::EnsureInitialised();
    startTimer_ = new QTimer(this);
    startTimer_->setSingleShot(true);
    connect(startTimer_, &QTimer::timeout, this, &CameraGraph::OnStartTimeout);
}

CameraGraph::~CameraGraph()
{
    ReleaseCaptureGraph();
}

void CameraGraph::setMessageSink(MessageSink sink)
{
    messageSink_ = std::move(sink);
}

bool CameraGraph::Fail(const char *message)
{
    const QString text = QString::fromUtf8(message);
    if (messageSink_)
        messageSink_(text);
    else
        qWarning("%s", message);
    return false;
}

bool CameraGraph::FailTooLarge(QSize size)
{
    const QString text = tooLargeText_
        ? tooLargeText_(size)
        : QStringLiteral("The camera frame is too large: %1 × %2.").arg(size.width()).arg(size.height());
    if (messageSink_)
        messageSink_(text);
    else
        qWarning("%s", qPrintable(text));
    return false;
}

QString CameraGraph::StreamFailure(Stream &stream) const
{
    const QSize size = stream.tooLarge();
    if (!size.isValid())
        return stream.error();
    return tooLargeText_ ? tooLargeText_(size)
                         : QStringLiteral("frame too large: %1 × %2").arg(size.width()).arg(size.height());
}

int CameraGraph::EnumerateCameras(QStringList &names)
{
    CameraListing listing = ListCameras(testPattern_);
    cameras_ = std::move(listing.cameras);
    monitorCreated_ = listing.monitorCreated;
    listed_ = true;
    names = cameraNames();
    if (names.isEmpty())
        qInfo("no device");
    return static_cast<int>(names.size());
}

QStringList CameraGraph::cameraNames() const
{
    QStringList names;
    for (const CameraDevice &camera : cameras_)
        names << camera.name;
    return names;
}

const CameraDevice *CameraGraph::Camera(int index) const
{
    if (index < 0 || index >= static_cast<int>(cameras_.size()))
        return nullptr;
    return &cameras_[static_cast<std::size_t>(index)];
}

QSize CameraGraph::ForcedSize(const CameraDevice &camera) const
{
    if (desiredWidth_ >= 1 && desiredHeight_ != 0)
        return QSize(desiredWidth_, std::abs(desiredHeight_));
    if (camera.testPattern)
        return camera.testPattern->size;
    return {};
}

void CameraGraph::setDesiredSize(int width, int height)
{
    desiredWidth_ = width;
    desiredHeight_ = height;
}

bool CameraGraph::BuildCaptureGraph(int deviceIndex)
{
    using namespace camera_messages;
    ReleaseCaptureGraph();
    if (!gst::EnsureInitialised())
        return Fail(kPipeline);

    auto stream = std::make_unique<Stream>();
    stream->graph = this;
    GstElement *pipeline = gst_pipeline_new("camera");
    if (!pipeline)
        return Fail(kPipeline);
    stream->pipeline.reset(static_cast<GstElement *>(gst_object_ref_sink(pipeline)));

    gst::ElementPtr sink = gst::MakeElement("appsink", "grabber");
    if (!sink)
        return Fail(kGrabberElement);
    if (!GST_IS_APP_SINK(sink.get()))
        return Fail(kGrabberInterface);
    gst::ElementPtr convert = gst::MakeElement("videoconvert");
    gst::ElementPtr filter = gst::MakeElement("capsfilter");
    if (!convert || !filter)
        return Fail(kConverter);
    gst::BusPtr bus(gst_pipeline_get_bus(GST_PIPELINE(pipeline)));
    if (!bus)
        return Fail(kBus);

    if (!listed_) {
        QStringList names;
        EnumerateCameras(names);
    }
    if (!monitorCreated_)
        return Fail(kMonitor);
    deviceIndex_ = deviceIndex;
    const CameraDevice *camera = Camera(deviceIndex);
    if (!camera)
        return false;
    gst::ElementPtr source = CreateCameraSource(*camera);
    if (!source)
        return Fail(kDevice);

    // A size beyond the limit is refused before anything is built for it;
    // a size the source picks itself is checked as it is negotiated.
    const QSize forced = ForcedSize(*camera);
    if (forced.isValid() && !ImageSizeAllowed(forced, maxFramePixels_))
        return FailTooLarge(forced);
    gst::CapsPtr bgr(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", nullptr));
    gst::CapsPtr jpeg(gst_caps_new_empty_simple("image/jpeg"));
    if (forced.isValid()) {
        for (GstCaps *caps : {bgr.get(), jpeg.get()})
            gst_caps_set_simple(caps, "width", G_TYPE_INT, forced.width(), "height", G_TYPE_INT, forced.height(),
                                nullptr);
    }
    // JPEG-only sources (or sizes) go through a decoder.
    gst::ElementPtr jpegFilter;
    gst::ElementPtr jpegDecoder;
    const gst::CapsPtr offered = CameraCaps(*camera);
    if (NeedsJpegDecoder(offered.get(), forced)) {
        jpegFilter = gst::MakeElement("capsfilter");
        jpegDecoder = gst::MakeElement("jpegdec");
        if (!jpegFilter || !jpegDecoder)
            return Fail(kConverter);
        g_object_set(jpegFilter.get(), "caps", jpeg.get(), nullptr);
    }
    g_object_set(filter.get(), "caps", bgr.get(), nullptr);
    g_object_set(sink.get(), "max-buffers", 1u, "drop", TRUE, "sync", FALSE, "enable-last-sample", TRUE, "emit-signals",
                 FALSE, nullptr);

    std::vector<GstElement *> chain{source.get()};
    if (jpegDecoder) {
        chain.push_back(jpegFilter.get());
        chain.push_back(jpegDecoder.get());
    }
    chain.insert(chain.end(), {convert.get(), filter.get(), sink.get()});
    for (GstElement *e : chain)
        gst_bin_add(GST_BIN(pipeline), e);  // the bin takes its own reference
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        if (!gst_element_link(chain[i], chain[i + 1]))
            return Fail(kLink);

    GstAppSinkCallbacks callbacks{};
    callbacks.new_sample = &Stream::OnNewSample;
    stream->sink = sink.get();
    gst_app_sink_set_callbacks(GST_APP_SINK(sink.get()), &callbacks, stream.get(), nullptr);
    gst_bus_set_sync_handler(bus.get(), &Stream::OnBusMessage, stream.get(), nullptr);
    stream->maxPixels = maxFramePixels_;
    {
        gst::PadPtr pad(gst_element_get_static_pad(chain[1], "sink"));
        if (!pad)
            return Fail(kLink);
        gst_pad_add_probe(pad.get(),
                          static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM | GST_PAD_PROBE_TYPE_BUFFER
                                                       | GST_PAD_PROBE_TYPE_BUFFER_LIST),
                          &Stream::OnSourcePad, stream.get(), nullptr);
    }
    TsanRelease(stream.get());

    // The device opens on the way to playing; the open counts as done when
    // the first frame has reached the grabber (ContinueOpen).
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        qWarning("camera: %s", qPrintable(stream->error()));
        return Fail(kDevice);
    }
    // Calls the streaming thread queued meanwhile find the stream here.
    stream_ = std::move(stream);
    state_ = State::Opening;
    ++opens_;
    startTimer_->start(startTimeout_);
    return true;
}

void CameraGraph::ContinueOpen()
{
    stream_->notifyPending.store(false);
    gst::SamplePtr first;
    {
        std::lock_guard lock(stream_->mutex);
        first.swap(stream_->latest);
    }
    if (!first) {
        const QString error = stream_->error();
        if (!error.isEmpty())
            FailOpen(stream_->tooLarge(), error);
        return;
    }
    const CameraFrame frame = CameraFrame::FromSample(first.get());
    if (frame.isNull()) {
        FailOpen({}, QStringLiteral("unreadable first frame"));
        return;
    }
    startTimer_->stop();
    state_ = State::Running;
    frameSize_ = frame.size();
    lastFrame_ = frame;
    // The view shows the camera as soon as it is open.
    emit frameReady(frame);
    emit openFinished(true);
}

void CameraGraph::OnStartTimeout()
{
    if (state_ != State::Opening || !stream_)
        return;
    const QString error = stream_->error();
    FailOpen(stream_->tooLarge(), error.isEmpty() ? QStringLiteral("no frame in time") : error);
}

void CameraGraph::FailOpen(QSize refused, const QString &error)
{
    ReleaseCaptureGraph();
    const std::uint64_t open = opens_;
    if (refused.isValid()) {
        FailTooLarge(refused);
    } else {
        qWarning("camera: %s", qPrintable(error));
        Fail(camera_messages::kDevice);
    }
    // Another open begun while the message was up answers for itself.
    if (open == opens_)
        emit openFinished(false);
}

void CameraGraph::OnStreamEvent()
{
    if (!stream_)
        return;
    if (state_ == State::Opening) {
        ContinueOpen();
        return;
    }
    const QString error = stream_->error().isEmpty() ? QString() : StreamFailure(*stream_);
    if (!error.isEmpty()) {
        ReleaseCaptureGraph();
        emit cameraStopped(error);
        return;
    }
    stream_->notifyPending.store(false);
    gst::SamplePtr sample;
    {
        std::lock_guard lock(stream_->mutex);
        sample.swap(stream_->latest);
    }
    if (!sample || state_ != State::Running)
        return;
    const CameraFrame frame = CameraFrame::FromSample(sample.get());
    if (frame.isNull())
        return;
    lastFrame_ = frame;
    frameSize_ = frame.size();
    emit frameReady(frame);
}

void CameraGraph::PauseCapture()
{
    if (state_ != State::Running || !stream_)
        return;
    gst_element_set_state(stream_->pipeline.get(), GST_STATE_PAUSED);
    const gst::SamplePtr last = LastSample(stream_->sink);
    CameraFrame frame = CameraFrame::FromSample(last.get());
    frozen_ = frame.isNull() ? lastFrame_ : frame;
    {
        std::lock_guard lock(stream_->mutex);
        stream_->latest.reset();
    }
    state_ = State::Paused;
    if (!frozen_.isNull())
        emit frameReady(frozen_);
}

void CameraGraph::ResumeCapture()
{
    if (state_ != State::Paused || !stream_)
        return;
    GstElement *pipeline = stream_->pipeline.get();
    gst_element_set_state(pipeline, GST_STATE_READY);
    frozen_ = {};
    state_ = State::Running;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        const QString error = stream_->error();
        ReleaseCaptureGraph();
        emit cameraStopped(error.isEmpty() ? QStringLiteral("the camera did not restart") : error);
    }
}

void CameraGraph::ReleaseCaptureGraph()
{
    startTimer_->stop();
    stream_.reset();
    state_ = State::None;
    frozen_ = {};
    lastFrame_ = {};
}

bool CameraGraph::SaveSnapshot(const QString &path, const QString &type, QString *reason)
{
    if (state_ == State::Running)
        PauseCapture();
    if (state_ != State::Paused || frozen_.isNull())
        return false;
    return WriteSnapshot(frozen_, path, type, reason);
}

std::vector<QSize> CameraGraph::FormatSizes() const
{
    const CameraDevice *camera = Camera(deviceIndex_);
    if (!camera)
        return {};
    gst::CapsPtr caps = CameraCaps(*camera);
    return OfferedSizes(caps.get());
}

bool CameraGraph::ApplyFormat(QSize size)
{
    if (size.width() < 1 || size.height() < 1)
        return false;
    setDesiredSize(size.width(), size.height());
    return BuildCaptureGraph(deviceIndex_);
}

QString CameraGraph::deviceNode() const
{
    const CameraDevice *camera = Camera(deviceIndex_);
    return camera ? DeviceNode(*camera) : QString();
}

}  // namespace orv
