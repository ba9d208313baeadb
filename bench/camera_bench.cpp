// The UI side of one live camera frame: from the grabber's sample to the
// painted 640 x 480 view picture (map, one scaling conversion, paint), bare
// and with the measurements' overlay blended over it.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "capture/camera/camera_frame.h"
#include "capture/camera/camera_gst.h"
#include "capture/camera/camera_view_scaler.h"
#include "view/live_overlay.h"

#include "bench_scene.h"

namespace {

using namespace orv;

// A BGR sample as videoconvert hands it to the appsink.
gst::SamplePtr MakeSample(int width, int height)
{
    gst::EnsureInitialised();
    GstVideoInfo info;
    gst_video_info_set_format(&info, GST_VIDEO_FORMAT_BGR, static_cast<guint>(width), static_cast<guint>(height));
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&info), nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (gsize i = 0; i < map.size; ++i)
        map.data[i] = static_cast<guint8>(i * 7 + (i >> 11));
    gst_buffer_unmap(buffer, &map);
    gst::CapsPtr caps(gst_video_info_to_caps(&info));
    GstSample *sample = gst_sample_new(buffer, caps.get(), nullptr, nullptr);
    gst_buffer_unref(buffer);
    return gst::SamplePtr(sample);
}

void BM_CameraFrameToView(benchmark::State &state)
{
    const gst::SamplePtr sample = MakeSample(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const QSize viewSize(640, 480);
    CameraViewScaler scaler;
    QImage picture;
    // Stands in for the window's backing store.
    QImage screen(viewSize, QImage::Format_RGB32);
    for (auto _ : state) {
        const CameraFrame frame = CameraFrame::FromSample(sample.get());
        scaler.Scale(frame, viewSize, picture);
        QPainter painter(&screen);
        painter.drawImage(QPoint(0, 0), picture);
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
}

// 50 measurements of mixed kinds placed on the live picture (one of them
// being placed), labels with their uncertainty, and the still's standard scale.
struct OverlayScene {
    std::unique_ptr<bench::Scene> scene = bench::MakeScene(1920, 1080, 49);
    LiveOverlayInputs in;

    explicit OverlayScene(QSize frame)
    {
        const QSize view(640, 480);
        in.mapping = {frame, CameraViewScaler::FittedRect(frame, view)};
        in.liveItems = &scene->list;
        in.liveEdit = scene->edit.get();
        in.standardScale = scene->scale;
        in.stillCalibration = scene->calibration;
        in.options.labelMode = LabelMode::Details;
        in.options.selectedItem = scene->edit.get();
        in.options.selectionShown = true;
        in.showUncertainty = true;
        for (const auto &item : scene->list)
            item->uncertainty = 0.02 * item->value;
    }
};

// As BM_CameraFrameToView, with the cached overlay painted over each frame:
// the difference is the overlay's cost per frame.
void BM_CameraFrameWithOverlay(benchmark::State &state)
{
    const QSize frameSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const gst::SamplePtr sample = MakeSample(frameSize.width(), frameSize.height());
    const QSize viewSize(640, 480);
    OverlayScene overlayScene(frameSize);
    LiveOverlay overlay;
    CameraViewScaler scaler;
    QImage picture;
    QImage screen(viewSize, QImage::Format_RGB32);
    // Drawn once before: the frames only blend it.
    overlay.Picture(viewSize, overlayScene.in);
    for (auto _ : state) {
        const CameraFrame frame = CameraFrame::FromSample(sample.get());
        scaler.Scale(frame, viewSize, picture);
        overlay.PaintOnto(picture, overlayScene.in);
        QPainter painter(&screen);
        painter.drawImage(QPoint(0, 0), picture);
        painter.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["draws"] = overlay.drawCount();
}

// A pointer move while a live measurement is placed: the overlay drawn anew.
void BM_LiveOverlayRedraw(benchmark::State &state)
{
    OverlayScene overlayScene(QSize(1920, 1080));
    LiveOverlay overlay;
    for (auto _ : state) {
        overlay.Invalidate();
        benchmark::DoNotOptimize(overlay.Picture(QSize(640, 480), overlayScene.in).constBits());
    }
}

}  // namespace

BENCHMARK(BM_CameraFrameWithOverlay)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_LiveOverlayRedraw)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

BENCHMARK(BM_CameraFrameToView)
    ->Args({1280, 720})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    // Every thread's time counts (the machine may be shared; wall time then says little).
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
