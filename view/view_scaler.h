#pragma once
// Smooth scaling of the visible part of the composite into the view: an area
// average when shrinking, bilinear when enlarging, per axis. Every destination
// pixel is a fixed function of the source pixels under it, so a region can be
// rescaled alone and gives exactly the pixels a whole rescale gives there.

#include <QImage>
#include <QRect>

#include <cstdint>
#include <utility>
#include <vector>

namespace orv {

// How the destination pixels of one axis take the source pixels.
class AxisFilter {
public:
    // Weights of one destination pixel sum to this.
    static constexpr int kOne = 1 << 14;

    AxisFilter() = default;
    AxisFilter(int srcLen, int dstLen);

    int srcLen() const { return srcLen_; }
    int dstLen() const { return dstLen_; }
    bool identity() const { return srcLen_ == dstLen_; }
    int first(int d) const { return taps_[static_cast<std::size_t>(d)].first; }
    int count(int d) const { return taps_[static_cast<std::size_t>(d)].count; }
    const std::uint16_t *weights(int d) const { return weights_.data() + taps_[static_cast<std::size_t>(d)].offset; }

    // The destination pixels [lo, hi) that take anything from source [a, b).
    std::pair<int, int> DstRange(int a, int b) const;

private:
    struct Taps {
        int first = 0;
        int count = 0;
        int offset = 0;
    };
    void AddTaps(int first, std::vector<std::uint32_t> raw);

    int srcLen_ = 0;
    int dstLen_ = 0;
    std::vector<Taps> taps_;
    std::vector<std::uint16_t> weights_;
};

class SmoothScaler {
public:
    // Scales src (RGB32) part `from` into dst (RGB32, sized as the scaled
    // part), recomputing only the destination pixels in `region` (dst pixels).
    void Scale(const QImage &src, const QRect &from, QImage &dst, const QRect &region);
    // The destination pixels that depend on the source pixels `changed`
    // (image pixels), for the part `from` scaled to `dstSize`.
    QRect AffectedRegion(const QRect &from, QSize dstSize, const QRect &changed);

private:
    const AxisFilter &Filter(AxisFilter &slot, int srcLen, int dstLen);

    AxisFilter fx_;
    AxisFilter fy_;
    // Horizontal pass: source rows by destination columns, 8.8 fixed point.
    std::vector<std::uint16_t> rows_;
    std::vector<std::uint32_t> acc_;
};

}  // namespace orv
