// The UI thread's share of one autosave with 500 measurements on a 12 MP
// image: the session copied and handed to the writer, whose thread encodes
// and writes meanwhile (the share is paid while it is busy).
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <memory>

#include "bench_scene.h"
#include "document/autosave_writer.h"
#include "document/measure_document.h"

namespace {

using namespace orv;

constexpr int kMeasurements = 500;

void BM_AutosaveUiShare(benchmark::State &state)
{
    MeasureDocument doc(Language::English, Language::English);
    const auto scene = bench::MakeScene(4000, 3000, kMeasurements);
    doc.SetImage(scene->source, ImageOrigin::File);
    for (const auto &item : scene->list) {
        doc.BeginEdit(CloneMeasureItem(*item));
        doc.ListEditItem();
    }
    QTemporaryDir dir;
    AutosaveWriter writer(dir.filePath("copy.orvm"), dir.filePath("copy.name"), dir.filePath("copy.json"));
    for (auto _ : state)
        writer.SubmitCopyOf(doc, QStringLiteral("cells.png"));
    writer.WaitIdle();
    state.counters["files"] = writer.written();
}

}  // namespace

BENCHMARK(BM_AutosaveUiShare)->Unit(benchmark::kMillisecond)->MinTime(3.0);
