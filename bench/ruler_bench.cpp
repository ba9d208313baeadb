// The ruler finder: time on a 1600 x 1200 still (goal: under 100 ms), and the
// pitch error per kind of ruler image over seeded random cases.
#include <benchmark/benchmark.h>

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "calib/ruler_finder.h"
#include "synthetic_ruler.h"

namespace {

using namespace orv;
using orv::test::RulerFormat;
using orv::test::SyntheticRuler;

SyntheticRuler StillRuler()
{
    SyntheticRuler r;
    r.pitch = 12.37;
    r.ticks = 110;
    r.angleDeg = 3.5;
    r.format = RulerFormat::Jpeg75;
    r.canvasWidth = 1600;
    r.canvasHeight = 1200;
    return r;
}

void BM_FindRuler1600x1200(benchmark::State &state)
{
    const SyntheticRuler s = StillRuler();
    const QImage img = s.draw(1);
    RulerResult r;
    for (auto _ : state) {
        r = RulerFinder().find(img);
        benchmark::DoNotOptimize(r);
    }
    state.counters["found"] = r.found() ? 1 : 0;
    state.counters["err_ppm"] = (r.pixelsPerDivision - s.pitch) / s.pitch * 1e6;
}
BENCHMARK(BM_FindRuler1600x1200)->Unit(benchmark::kMillisecond);

void BM_FindRulerAlongLine1600x1200(benchmark::State &state)
{
    const SyntheticRuler s = StillRuler();
    const QImage img = s.draw(1);
    const RulerResult whole = RulerFinder().find(img);
    if (!whole.found()) {
        state.SkipWithError("no ruler");
        return;
    }
    RulerResult r;
    for (auto _ : state) {
        r = RulerFinder().findAlong(img, whole.tickPositions.front(), whole.tickPositions.back());
        benchmark::DoNotOptimize(r);
    }
    state.counters["err_ppm"] = (r.pixelsPerDivision - s.pitch) / s.pitch * 1e6;
}
BENCHMARK(BM_FindRulerAlongLine1600x1200)->Unit(benchmark::kMillisecond);

// Kinds of ruler image: each a random case bent to the kind.
enum Kind { kLevelPng, kTiltedPng, kVertical, kJpeg, kLightTicks, kFinePitch, kCoarsePitch, kKinds };
const char *const kKindNames[] = {"level PNG", "tilted <=10 deg", "vertical", "JPEG q75",
                                  "light on dark", "pitch 5-8", "pitch 30-40"};

SyntheticRuler OfKind(int kind, std::uint32_t seed)
{
    SyntheticRuler r = SyntheticRuler::Random(seed);
    std::mt19937 rng(seed);
    auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    switch (kind) {
    case kLevelPng:
        r.angleDeg = 0.0;
        r.format = RulerFormat::Png;
        break;
    case kTiltedPng:
        r.angleDeg = uni(-10.0, 10.0);
        r.format = RulerFormat::Png;
        break;
    case kVertical:
        r.angleDeg = 90.0 + uni(-2.0, 2.0);
        break;
    case kJpeg:
        r.format = RulerFormat::Jpeg75;
        break;
    case kLightTicks:
        r.lightTicks = true;
        break;
    case kFinePitch:
        r.pitch = uni(5.0, 8.0);
        r.tickWidth = std::min(r.tickWidth, 0.6 * r.pitch);
        r.ticks = 120;
        break;
    case kCoarsePitch:
        r.pitch = uni(30.0, 40.0);
        r.ticks = 50;
        break;
    default:
        break;
    }
    return r;
}

// One iteration runs every case of the kind; the counters are the table.
void BM_RulerPitchError(benchmark::State &state)
{
    const int kind = static_cast<int>(state.range(0));
    constexpr int kCases = 20;
    double worst = 0.0, sumAbs = 0.0, sumU = 0.0;
    int within = 0, found = 0;
    for (auto _ : state) {
        worst = sumAbs = sumU = 0.0;
        within = found = 0;
        for (int i = 0; i < kCases; ++i) {
            const auto seed = static_cast<std::uint32_t>(1000 * kind + i + 1);
            const SyntheticRuler s = OfKind(kind, seed);
            const RulerResult r = RulerFinder().find(s.draw(seed));
            if (!r.found())
                continue;
            ++found;
            const double err = r.pixelsPerDivision - s.pitch;
            worst = std::max(worst, std::abs(err) / s.pitch);
            sumAbs += std::abs(err) / s.pitch;
            sumU += r.uPixelsPerDivision / s.pitch;
            within += std::abs(err) <= 3.0 * r.uPixelsPerDivision ? 1 : 0;
        }
    }
    state.SetLabel(kKindNames[kind]);
    state.counters["found"] = found;
    // Parts per million of the pitch: the goal of 0.05 % is 500 ppm.
    state.counters["mean_err_ppm"] = found ? 1e6 * sumAbs / found : 0.0;
    state.counters["max_err_ppm"] = 1e6 * worst;
    state.counters["mean_u_ppm"] = found ? 1e6 * sumU / found : 0.0;
    state.counters["within_3u"] = within;
}
BENCHMARK(BM_RulerPitchError)->DenseRange(0, kKinds - 1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
