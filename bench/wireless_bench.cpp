// The wireless receiver end to end: 1280 x 960 JPEG frames over loopback
// through the real receiver thread (reassembled, decoded, overlaid).
#include "capture/wireless/lens_overlay.h"
#include "capture/wireless/wireless_picture.h"
#include "capture/wireless/wireless_receiver.h"
#include "tools/wireless_sim/wireless_sender.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Frames of the microscope's size and weight (about 110 KiB at quality 85).
const std::vector<QByteArray> &CaptureFrames()
{
    static const std::vector<QByteArray> frames = [] {
        std::vector<QByteArray> out;
        for (int i = 0; i < 8; ++i)
            out.push_back(orv::sim::MakeTestFrame(QSize(1280, 960), i, 85));
        return out;
    }();
    return frames;
}

std::span<const std::uint8_t> Bytes(const QByteArray &b)
{
    return {reinterpret_cast<const std::uint8_t *>(b.constData()), static_cast<std::size_t>(b.size())};
}

// What the receiver thread does with one complete frame, without the socket.
void BM_WirelessDrawFrame(benchmark::State &state)
{
    const QByteArray &frame = CaptureFrames().front();
    QImage view(640, 480, QImage::Format_RGB32);
    for (auto _ : state) {
        view.fill(Qt::black);
        QPainter p(&view);
        orv::DrawPicture(p, Bytes(frame), 0, 0, 640, 480, 1);
        if (state.range(0))
            orv::DrawLensOverlay(p, 0, 0, 640, 480, QStringLiteral("X100"), true, QStringLiteral("Red"));
    }
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
            // Each frame as one burst: on a loaded machine a paced sender
            // stalls between pieces, and six empty reads end a frame.
            sender->SendSpread(frame, 0us);
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

BENCHMARK(BM_WirelessDrawFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WirelessReceive)->Arg(0)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WirelessReceive)->Arg(120)->Iterations(600)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WirelessReceive)->Arg(30)->Iterations(300)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
