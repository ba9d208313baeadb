// A scripted session on the real main window: every step goes through the
// window's pointer handlers (or its list, zoom and calibration entries) and
// is followed by the view's paint, as the window would show it. Reports per
// event kind the median and the worst time in milliseconds.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "bench_scene.h"
#include "app/pages/scale/scale_page.h"
#include "measure/hit_test.h"
#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/main_window.h"
#include "document/measure_document.h"
#include "app/pages/measure/measure_page.h"

namespace {

using namespace orv;

constexpr int kImageWidth = 4000;
constexpr int kImageHeight = 3000;
constexpr int kMeasurements = 500;
const QSize kViewSize(1600, 1000);

// The main window with the bench scene's still and measurements, on the
// Measure page, its view 1600 x 1000.
class Session {
public:
    explicit Session(int zoom)
    {
        WindowEnvironment env;
        // The window reads and writes its setting files in its start directory.
        env.startDir = dir_.path();
        env.locale.systemLanguage = [] { return std::string("en"); };
        env.locale.userLanguage = [] { return std::string("en"); };
        env.locale.englishMarker = [] { return false; };
        env.screenSize = [] { return QSize(3000, 2000); };
        const QString temp = dir_.path();
        env.tempDir = [temp] { return temp; };
        mainWindow_ = std::make_unique<MainWindow>(env);

        auto scene = bench::MakeScene(kImageWidth, kImageHeight, kMeasurements - 1);
        const QString path = dir_.filePath(QStringLiteral("still.png"));
        scene->source.save(path);
        mainWindow_->LoadImageFile(path);
        for (const auto &item : scene->list) {
            auto copy = CloneMeasureItem(*item);
            MeasureItem *raw = copy.get();
            raw->number = mainWindow_->document().list().Append(std::move(copy));
            mainWindow_->document().results().AddMeasureRows(*raw);
        }
        mainWindow_->host().SelectTab(PageMeasure);
        SetZoom(zoom);
        Paint();
    }
    ~Session() { mainWindow_.reset(); }

    MainWindow &mainWindow() { return *mainWindow_; }

    void SetZoom(int zoom)
    {
        mainWindow_->host().SetZoom(zoom, zoom);
        mainWindow_->host().LayoutView();
        // The view as large as the screen gives it, whatever the window got.
        mainWindow_->host().zoom().layout().size = kViewSize;
    }

    // The view's paint and what follows it, as the view widget runs them.
    void Paint()
    {
        // The window's repaint is a low-priority event: what the change queued
        // (the composition) runs before it.
        QCoreApplication::sendPostedEvents();
        QPainter painter(&device_);
        mainWindow_->PaintView(painter);
        painter.end();
        // The tool palette's refresh queued by the change.
        QCoreApplication::processEvents();
    }

    QPoint ToView(QPoint image) const { return mainWindow_->host().view().ImageToView(image); }
    bool Shows(QPoint image) const
    {
        const QPoint v = ToView(image);
        return v.x() > 80 && v.y() > 80 && v.x() < kViewSize.width() - 80 && v.y() < kViewSize.height() - 80;
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<MainWindow> mainWindow_;
    QImage device_{kViewSize, QImage::Format_RGB32};
};

class Trace {
public:
    explicit Trace(Session &s) : s_(s) {}

    // One step: the event's handling and the paint after it, in wall time
    // and in the thread's processor time (what is left of it on a machine
    // busy with other work).
    template <typename F>
    void Step(const char *kind, F &&event)
    {
        const double cpuStart = ThreadCpuMs();
        const auto start = std::chrono::steady_clock::now();
        event();
        s_.Paint();
        const auto end = std::chrono::steady_clock::now();
        times_[kind].push_back(std::chrono::duration<double, std::milli>(end - start).count());
        times_[std::string(kind) + "_cpu"].push_back(ThreadCpuMs() - cpuStart);
    }

    static double ThreadCpuMs()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    }

    void Hover(QPoint image) { Step("hover", [&] { s_.mainWindow().pointer().move(s_.ToView(image)); }); }

    void Select(MeasureItem *item)
    {
        Step("select", [&] {
            s_.mainWindow().document().results().SelectRow(item->row);
            s_.mainWindow().commands().OnListClick();
        });
    }

    // Hover onto `grab` of the selected item, press, 60 moves along a small
    // loop back to the start, release. Moves of long-line kinds and label
    // moves are reported apart.
    bool Drag(QPoint grab, Qt::CursorShape grabCursor, const char *moveKind)
    {
        Hover(grab);
        if (s_.mainWindow().pointer().rememberedCursor() != grabCursor)
            return false;
        Step("press", [&] { s_.mainWindow().pointer().press(s_.ToView(grab)); });
        for (int i = 1; i <= 60; ++i) {
            const double a = 2 * std::numbers::pi * i / 60;
            const QPoint to = grab + QPoint(static_cast<int>(std::lround(40 * std::sin(a))),
                                            static_cast<int>(std::lround(25 * (1 - std::cos(a)))));
            Step(i == 1 ? "first_move" : moveKind, [&] { s_.mainWindow().pointer().move(s_.ToView(to)); });
        }
        Step("release", [&] { s_.mainWindow().pointer().release(s_.ToView(grab)); });
        return true;
    }

    void EmptyClick(QPoint image)
    {
        Hover(image);
        // A right click off the selection clears it.
        Step("empty_click", [&] { s_.mainWindow().pointer().rightPress(s_.ToView(image)); });
    }

    void Zoom(int zoom)
    {
        Step("zoom", [&] { s_.SetZoom(zoom); });
    }

    void Calibration(int length)
    {
        Step("calibration", [&] { s_.mainWindow().findChild<ScalePage *>()->EndHorizontalBarDrag(QPoint(10, 10), length); });
    }

    void Report(benchmark::State &state) const
    {
        for (auto [kind, t] : times_) {
            std::sort(t.begin(), t.end());
            state.counters[kind + "_median_ms"] = t[t.size() / 2];
            state.counters[kind + "_worst_ms"] = t.back();
        }
    }

private:
    Session &s_;
    std::map<std::string, std::vector<double>> times_;
};

// The first listed item of the kind with a point well inside the view and
// that point's index; the hover must find it grabbable.
std::pair<MeasureItem *, int> FindPointItem(Session &s, MeasureKind kind)
{
    for (const auto &item : s.mainWindow().document().list()) {
        if (item->kind != kind)
            continue;
        for (std::size_t i = 0; i < item->points.size(); ++i)
            if (s.Shows(item->points[i].pos))
                return {item.get(), static_cast<int>(i)};
    }
    return {nullptr, -1};
}

// A distance well inside the view (its label is placed when it is selected).
MeasureItem *FindDistance(Session &s)
{
    for (const auto &item : s.mainWindow().document().list())
        if (item->kind == KindDistance2Points && s.Shows(item->points[0].pos) && s.Shows(item->points[1].pos))
            return item.get();
    return nullptr;
}

QPoint LabelCenter(const MeasureItem &item)
{
    return QPoint((item.labelBox.left + item.labelBox.right) / 2, (item.labelBox.top + item.labelBox.bottom) / 2);
}

void BM_InteractionTrace(benchmark::State &state)
{
    const int zoom = static_cast<int>(state.range(0));
    Session s(zoom);
    const auto [polygon, polygonPoint] = FindPointItem(s, KindAreaPolygon);
    const auto [parallel, parallelPoint] = FindPointItem(s, KindParallel);
    const auto [standard, standardPoint] = FindPointItem(s, KindStandardParallel);
    MeasureItem *labelled = FindDistance(s);
    if (!polygon || !parallel || !standard || !labelled) {
        state.SkipWithError("the view shows no item of a kind the trace needs");
        return;
    }
    const QPoint empty(kImageWidth - 5, kImageHeight - 5);
    Trace trace(s);
    int round = 0;
    for (auto _ : state) {
        for (const auto &[item, index, moveKind] :
             {std::tuple{polygon, polygonPoint, "move"}, std::tuple{parallel, parallelPoint, "line_move"},
              std::tuple{standard, standardPoint, "line_move"}}) {
            trace.Hover(QPoint(5, 5));
            trace.Select(item);
            const QPoint grab = item->points[static_cast<std::size_t>(index)].pos;
            if (!trace.Drag(grab, Qt::SizeFDiagCursor, moveKind) || s.mainWindow().document().editItem() ||
                s.mainWindow().pointer().dragMode() != DragMode::Idle) {
                state.SkipWithError("a point drag did not run");
                return;
            }
        }
        trace.Select(labelled);
        if (labelled->labelBox.bottom <= 0 || !trace.Drag(LabelCenter(*labelled), Qt::SizeAllCursor, "label_move")) {
            state.SkipWithError("the label drag did not run");
            return;
        }
        trace.EmptyClick(QPoint(5, 5));
        trace.Zoom(zoom == 100 ? 25 : 100);
        trace.Zoom(zoom);
        trace.Calibration(25 + (round++ % 2));
    }
    trace.Report(state);
    state.counters["view_zoom"] = zoom;
}

BENCHMARK(BM_InteractionTrace)->Arg(25)->Arg(100)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
