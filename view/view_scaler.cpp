#include "view/view_scaler.h"

#include <algorithm>
#include <cstring>

namespace orv {

AxisFilter::AxisFilter(int srcLen, int dstLen) :
    srcLen_(std::max(0, srcLen)),
    dstLen_(std::max(0, dstLen))
{
    if (srcLen_ == 0 || dstLen_ == 0)
        return;
    taps_.reserve(static_cast<std::size_t>(dstLen_));
    const long long s = srcLen_;
    const long long d = dstLen_;
    for (long long i = 0; i < d; ++i) {
        if (s >= d) {
            // Area average: destination pixel i covers source [i*s/d, (i+1)*s/d).
            // In units of 1/d source pixel the cover is [i*s, (i+1)*s) and
            // source pixel j is [j*d, (j+1)*d).
            const long long lo = i * s;
            const long long hi = (i + 1) * s;
            const long long first = lo / d;
            const long long last = (hi - 1) / d;
            std::vector<std::uint32_t> raw;
            raw.reserve(static_cast<std::size_t>(last - first + 1));
            for (long long j = first; j <= last; ++j) {
                const long long overlap = std::min(hi, (j + 1) * d) - std::max(lo, j * d);
                raw.push_back(static_cast<std::uint32_t>(overlap * kOne / s));
            }
            AddTaps(static_cast<int>(first), std::move(raw));
        } else {
            // Bilinear between the two source pixels around the destination
            // pixel's centre: (i + 1/2) * s/d - 1/2 = ((2i+1)s - d) / 2d.
            const long long num = (2 * i + 1) * s - d;
            const long long den = 2 * d;
            if (num <= 0) {
                AddTaps(0, {kOne});
                continue;
            }
            const long long j0 = num / den;
            const auto frac = static_cast<std::uint32_t>((num - j0 * den) * kOne / den);
            if (j0 >= s - 1)
                AddTaps(static_cast<int>(s - 1), {kOne});
            else if (frac == 0)
                AddTaps(static_cast<int>(j0), {kOne});
            else
                AddTaps(static_cast<int>(j0), {kOne - frac, frac});
        }
    }
}

void AxisFilter::AddTaps(int first, std::vector<std::uint32_t> raw)
{
    // Rounding leftovers go to the heaviest tap so the weights sum to one
    // exactly and a flat area stays flat.
    std::uint32_t sum = 0;
    for (std::uint32_t w : raw)
        sum += w;
    auto heaviest = std::max_element(raw.begin(), raw.end());
    *heaviest += kOne - sum;
    taps_.push_back({first, static_cast<int>(raw.size()), static_cast<int>(weights_.size())});
    for (std::uint32_t w : raw)
        weights_.push_back(static_cast<std::uint16_t>(w));
}

std::pair<int, int> AxisFilter::DstRange(int a, int b) const
{
    if (a >= b || taps_.empty())
        return {0, 0};
    // Both ends of the taps grow with the destination index.
    const auto lo =
        std::partition_point(taps_.begin(), taps_.end(), [a](const Taps &t) { return t.first + t.count <= a; });
    const auto hi = std::partition_point(lo, taps_.end(), [b](const Taps &t) { return t.first < b; });
    return {static_cast<int>(lo - taps_.begin()), static_cast<int>(hi - taps_.begin())};
}

const AxisFilter &SmoothScaler::Filter(AxisFilter &slot, int srcLen, int dstLen)
{
    if (slot.srcLen() != srcLen || slot.dstLen() != dstLen)
        slot = AxisFilter(srcLen, dstLen);
    return slot;
}

QRect SmoothScaler::AffectedRegion(const QRect &from, QSize dstSize, const QRect &changed)
{
    const QRect c = changed.intersected(from).translated(-from.topLeft());
    if (c.isEmpty() || dstSize.isEmpty())
        return {};
    const AxisFilter &fx = Filter(fx_, from.width(), dstSize.width());
    const AxisFilter &fy = Filter(fy_, from.height(), dstSize.height());
    const auto [x0, x1] = fx.DstRange(c.left(), c.right() + 1);
    const auto [y0, y1] = fy.DstRange(c.top(), c.bottom() + 1);
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

void SmoothScaler::Scale(const QImage &src, const QRect &from, QImage &dst, const QRect &region)
{
    const QRect r = region.intersected(dst.rect());
    if (r.isEmpty() || from.isEmpty() || !src.rect().contains(from))
        return;
    const AxisFilter &fx = Filter(fx_, from.width(), dst.width());
    const AxisFilter &fy = Filter(fy_, from.height(), dst.height());
    const int x0 = r.left();
    const int w = r.width();

    if (fx.identity() && fy.identity()) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(from.y() + y)) + from.x() + x0;
            std::memcpy(reinterpret_cast<QRgb *>(dst.scanLine(y)) + x0, in, static_cast<std::size_t>(w) * 4);
        }
        return;
    }

    int r0 = fy.first(r.top());
    int r1 = r0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        r1 = std::max(r1, fy.first(y) + fy.count(y));
    const std::size_t rowLen = static_cast<std::size_t>(w) * 3;
    rows_.resize(static_cast<std::size_t>(r1 - r0) * rowLen);

    // Horizontal pass: every needed source row to the region's columns.
    for (int sy = r0; sy < r1; ++sy) {
        const auto *line = src.constScanLine(from.y() + sy) + static_cast<std::size_t>(from.x()) * 4;
        std::uint16_t *out = rows_.data() + static_cast<std::size_t>(sy - r0) * rowLen;
        for (int x = x0; x < x0 + w; ++x, out += 3) {
            const int n = fx.count(x);
            const std::uint16_t *wt = fx.weights(x);
            const std::uint8_t *px = line + static_cast<std::size_t>(fx.first(x)) * 4;
            std::uint32_t c0 = 0, c1 = 0, c2 = 0;
            for (int t = 0; t < n; ++t, px += 4) {
                c0 += wt[t] * px[0];
                c1 += wt[t] * px[1];
                c2 += wt[t] * px[2];
            }
            out[0] = static_cast<std::uint16_t>((c0 + 32) >> 6);
            out[1] = static_cast<std::uint16_t>((c1 + 32) >> 6);
            out[2] = static_cast<std::uint16_t>((c2 + 32) >> 6);
        }
    }

    // Vertical pass into the destination.
    acc_.resize(rowLen);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        std::fill(acc_.begin(), acc_.end(), 0u);
        const int n = fy.count(y);
        const std::uint16_t *wt = fy.weights(y);
        for (int t = 0; t < n; ++t) {
            const std::uint32_t k = wt[t];
            const std::uint16_t *row = rows_.data() + static_cast<std::size_t>(fy.first(y) + t - r0) * rowLen;
            for (std::size_t i = 0; i < rowLen; ++i)
                acc_[i] += k * row[i];
        }
        auto *out = dst.scanLine(y) + static_cast<std::size_t>(x0) * 4;
        for (std::size_t i = 0; i < rowLen; i += 3, out += 4) {
            out[0] = static_cast<std::uint8_t>((acc_[i] + (1u << 21)) >> 22);
            out[1] = static_cast<std::uint8_t>((acc_[i + 1] + (1u << 21)) >> 22);
            out[2] = static_cast<std::uint8_t>((acc_[i + 2] + (1u << 21)) >> 22);
            out[3] = 0xff;
        }
    }
}

}  // namespace orv
