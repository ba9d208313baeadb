// View composition: a full rebuild against one pointer move of a point drag,
// each including the picture the view paints (1600 x 1000 view).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cmath>

#include "bench_scene.h"
#include "view/view_composer.h"

namespace {

using namespace orv;

constexpr int kImageWidth = 4000;
constexpr int kImageHeight = 3000;
constexpr int kMeasurements = 500;

ViewGeometry ViewAt(int zoom)
{
    ViewGeometry g;
    g.size = QSize(1600, 1000);
    g.zoomX = g.zoomY = zoom;
    g.imageSize = QSize(kImageWidth, kImageHeight);
    return g;
}

bench::Scene &SharedScene()
{
    static std::unique_ptr<bench::Scene> scene = bench::MakeScene(kImageWidth, kImageHeight, kMeasurements - 1);
    return *scene;
}

void BM_ComposeFull(benchmark::State &state)
{
    bench::Scene &scene = SharedScene();
    const ViewGeometry geo = ViewAt(static_cast<int>(state.range(0)));
    ViewComposer composer;
    QImage composite;
    for (auto _ : state) {
        composer.Compose(composite, scene.Inputs(), scene.edit.get());
        benchmark::DoNotOptimize(composer.ViewPicture(composite, geo).constBits());
    }
}

void BM_DragUpdate(benchmark::State &state)
{
    bench::Scene &scene = SharedScene();
    const ViewGeometry geo = ViewAt(static_cast<int>(state.range(0)));
    ViewComposer composer;
    QImage composite;
    composer.Compose(composite, scene.Inputs(), scene.edit.get());
    composer.ViewPicture(composite, geo);
    int step = 0;
    for (auto _ : state) {
        // The pointer circles around the point's starting place, a few
        // pixels per move.
        const double a = 0.05 * ++step;
        const QPoint to = scene.dragFrom + QPoint(static_cast<int>(60 * std::cos(a)), static_cast<int>(60 * std::sin(a)));
        SetPointAt(scene.edit.get(), scene.dragIndex, to);
        if (!composer.ComposeEdit(composite, scene.Inputs(), scene.edit.get())) {
            state.SkipWithError("the cached layer was not reused");
            break;
        }
        benchmark::DoNotOptimize(composer.ViewPicture(composite, geo).constBits());
    }
    SetPointAt(scene.edit.get(), scene.dragIndex, scene.dragFrom);
}

BENCHMARK(BM_ComposeFull)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DragUpdate)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The interaction trace runs the main window.
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
