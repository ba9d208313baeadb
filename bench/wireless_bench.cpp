// The wireless receiver end to end: 1280 x 960 JPEG frames over loopback
// through the real receiver thread (reassembled, decoded, overlaid).
#include "wireless_receiver.h"
#include "wireless_sender.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Frames of the microscope's size and weight (100 to 150 KiB): the first
// quality whose frames are no larger than 150 KiB.
const std::vector<QByteArray> &CaptureFrames()
{
    static const std::vector<QByteArray> frames = [] {
        std::vector<QByteArray> out;
        for (int quality : {95, 90, 85, 80, 75, 70, 60, 50, 40}) {
            out.clear();
            for (int i = 0; i < 8; ++i)
                out.push_back(orv::sim::MakeTestFrame(QSize(1280, 960), i, quality));
            if (out.front().size() <= 150 * 1024)
                break;
        }
        return out;
    }();
    return frames;
}

// Arg: frames per second sent, 0 for "the next frame as soon as the last one
// is drawn" (the receiver's capacity).
void BM_WirelessReceive(benchmark::State &state)
{
    const int fps = static_cast<int>(state.range(0));
    orv::WirelessReceiver receiver;
    orv::WirelessReceiver::Config config;
    config.port = 0;
    if (!receiver.StartReceiver(config)) {
        state.SkipWithError("cannot bind");
        return;
    }
    receiver.SetOverlayOptions(QStringLiteral("X100"), 1, QStringLiteral("Red"));
    QString error;
    const auto sender = orv::sim::UdpSender::Open(QStringLiteral("127.0.0.1"), receiver.port(), &error);
    while (!receiver.listening())
        std::this_thread::sleep_for(1ms);

    std::vector<std::vector<QByteArray>> datagrams;
    double bytes = 0;
    for (const QByteArray &frame : CaptureFrames()) {
        datagrams.push_back(orv::sim::SplitFrame(frame, {}));
        bytes += static_cast<double>(frame.size());
    }
    const auto interval = fps > 0 ? std::chrono::microseconds(1000000 / fps) : 0us;

    const std::uint64_t drawnBefore = receiver.framesDrawn();
    const double cpuBefore = receiver.ThreadCpuSeconds();
    const auto start = Clock::now();
    auto next = start;
    std::uint64_t sent = 0;
    for (auto _ : state) {
        const auto &frame = datagrams[sent % datagrams.size()];
        if (fps > 0) {
            std::this_thread::sleep_until(next);
            // A radio link spreads a frame's datagrams over the frame time.
            sender->SendSpread(frame, interval / 2);
            next += interval;
        } else {
            const std::uint64_t before = receiver.framesDrawn();
            sender->SendSpread(frame, 0us);
            const auto deadline = Clock::now() + 1s;
            while (receiver.framesDrawn() == before && Clock::now() < deadline)
                std::this_thread::sleep_for(50us);
        }
        ++sent;
    }
    // Frames still on their way.
    const auto settle = Clock::now() + 200ms;
    while (receiver.framesDrawn() - drawnBefore < sent && Clock::now() < settle)
        std::this_thread::sleep_for(1ms);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double drawn = static_cast<double>(receiver.framesDrawn() - drawnBefore);
    state.counters["frames_per_s"] = drawn / seconds;
    state.counters["lost"] = static_cast<double>(sent) - drawn;
    state.counters["cpu_pct"] = 100.0 * (receiver.ThreadCpuSeconds() - cpuBefore) / seconds;
    state.counters["frame_kib"] = bytes / static_cast<double>(datagrams.size()) / 1024.0;
}

BENCHMARK(BM_WirelessReceive)->Arg(0)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WirelessReceive)->Arg(120)->Iterations(600)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WirelessReceive)->Arg(30)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
