#include "capture/camera/camera_view_scaler.h"

#include <algorithm>
#include <cmath>

#include "capture/camera/camera_frame.h"

namespace orv {

namespace {

// Sample positions of pixel centres, clamped to the source.
template<typename Tap>
void FillTaps(std::vector<Tap> &taps, int source, int target, int scale)
{
    taps.resize(static_cast<std::size_t>(target));
    const double ratio = static_cast<double>(source) / target;
    for (int i = 0; i < target; ++i) {
        const double pos = std::clamp((i + 0.5) * ratio - 0.5, 0.0, static_cast<double>(source - 1));
        const int first = static_cast<int>(pos);
        const int second = std::min(first + 1, source - 1);
        const auto w = static_cast<std::uint32_t>(std::lround((pos - first) * 256.0));
        taps[static_cast<std::size_t>(i)] = Tap{first * scale, second * scale, w};
    }
}

void FillBlack(QImage &picture, QRect area)
{
    if (area.isEmpty())
        return;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto *row = reinterpret_cast<std::uint32_t *>(picture.scanLine(y));
        std::fill(row + area.left(), row + area.right() + 1, 0xFF000000u);
    }
}

}  // namespace

QRect CameraViewScaler::FittedRect(QSize source, QSize view)
{
    if (source.isEmpty() || view.isEmpty())
        return {};
    const long long sw = source.width(), sh = source.height();
    const long long vw = view.width(), vh = view.height();
    long long w = vw;
    long long h = vh;
    if (sw * vh >= sh * vw)
        h = std::max(1LL, (vw * sh * 2 + sw) / (sw * 2));  // rounded vw * sh / sw
    else
        w = std::max(1LL, (vh * sw * 2 + sh) / (sh * 2));
    return {static_cast<int>((vw - w) / 2), static_cast<int>((vh - h) / 2), static_cast<int>(w), static_cast<int>(h)};
}

void CameraViewScaler::Prepare(QSize source, QSize target)
{
    if (source == source_ && target == target_)
        return;
    FillTaps(xTaps_, source.width(), target.width(), 3);
    FillTaps(yTaps_, source.height(), target.height(), 1);
    source_ = source;
    target_ = target;
}

bool CameraViewScaler::Scale(const CameraFrame &frame, QSize viewSize, QImage &picture)
{
    if (frame.isNull() || viewSize.isEmpty())
        return false;
    if (picture.size() != viewSize || picture.format() != QImage::Format_RGB32)
        picture = QImage(viewSize, QImage::Format_RGB32);
    if (picture.isNull())
        return false;
    const QRect area = FittedRect(frame.size(), viewSize);
    Prepare(frame.size(), area.size());
    // The bars: above and below the area, then left and right of it.
    const int vw = viewSize.width();
    FillBlack(picture, QRect(0, 0, vw, area.top()));
    FillBlack(picture, QRect(0, area.bottom() + 1, vw, viewSize.height() - area.bottom() - 1));
    FillBlack(picture, QRect(0, area.top(), area.left(), area.height()));
    FillBlack(picture, QRect(area.right() + 1, area.top(), vw - area.right() - 1, area.height()));

    const Tap *xt = xTaps_.data();
    const int width = area.width();
    for (int y = 0; y < area.height(); ++y) {
        const Tap &ty = yTaps_[static_cast<std::size_t>(y)];
        const std::uint8_t *r0 = frame.row(ty.first);
        const std::uint8_t *r1 = frame.row(ty.second);
        const std::uint32_t wy1 = ty.w;
        const std::uint32_t wy0 = 256 - wy1;
        auto *out = reinterpret_cast<std::uint32_t *>(picture.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < width; ++x) {
            const std::uint32_t wx1 = xt[x].w;
            const std::uint32_t wx0 = 256 - wx1;
            const std::uint8_t *a = r0 + xt[x].first;
            const std::uint8_t *b = r0 + xt[x].second;
            const std::uint8_t *c = r1 + xt[x].first;
            const std::uint8_t *d = r1 + xt[x].second;
            std::uint32_t px = 0xFF000000u;
            // Channel 0 is blue, 2 is red; RGB32 holds red in bits 16-23.
            for (int ch = 0; ch < 3; ++ch) {
                const std::uint32_t top = a[ch] * wx0 + b[ch] * wx1;
                const std::uint32_t bottom = c[ch] * wx0 + d[ch] * wx1;
                const std::uint32_t v = (top * wy0 + bottom * wy1 + 32768u) >> 16;
                px |= v << (8 * ch);
            }
            out[x] = px;
        }
    }
    return true;
}

}  // namespace orv
