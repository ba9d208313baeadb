// The undo history with 500 measurements: what a state costs to take (all
// copied, or shared with the previous state), one recorded step, and one
// undo and redo.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_scene.h"
#include "document/document_history.h"
#include "document/document_state.h"
#include "document/measure_document.h"

namespace {

using namespace orv;

constexpr int kMeasurements = 500;

std::unique_ptr<MeasureDocument> MakeDocument()
{
    auto doc = std::make_unique<MeasureDocument>(Language::English, Language::English);
    const auto scene = bench::MakeScene(4000, 3000, kMeasurements);
    doc->SetImage(scene->source, ImageOrigin::File);
    for (const auto &item : scene->list) {
        doc->BeginEdit(CloneMeasureItem(*item));
        doc->ListEditItem();
    }
    doc->ClearSelection();
    doc->ClearHistory();
    return doc;
}

void BM_CaptureAllCopied(benchmark::State &state)
{
    const auto doc = MakeDocument();
    for (auto _ : state)
        benchmark::DoNotOptimize(CaptureState(*doc, nullptr));
}

void BM_CaptureShared(benchmark::State &state)
{
    const auto doc = MakeDocument();
    const DocumentState previous = CaptureState(*doc, nullptr);
    for (auto _ : state)
        benchmark::DoNotOptimize(CaptureState(*doc, &previous));
}

// A point moved and recorded: the operation with both of its states.
void BM_StepMovePoint(benchmark::State &state)
{
    const auto doc = MakeDocument();
    const ItemId id = doc->list().at(kMeasurements / 2).id;
    const QPoint at = doc->list().at(kMeasurements / 2).points[0].pos;
    int k = 0;
    for (auto _ : state)
        doc->MovePoint(id, 0, at + QPoint(++k % 2, 0));
}

void BM_UndoRedo(benchmark::State &state)
{
    const auto doc = MakeDocument();
    doc->MovePoint(doc->list().at(0).id, 0, doc->list().at(0).points[0].pos + QPoint(1, 1));
    for (auto _ : state) {
        doc->Undo();
        doc->Redo();
    }
}

}  // namespace

BENCHMARK(BM_CaptureAllCopied)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptureShared)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepMovePoint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UndoRedo)->Unit(benchmark::kMicrosecond);
