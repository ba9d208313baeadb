#include "view/overview_geometry.h"

#include <algorithm>

namespace orv {
namespace {

// a × b / c in 64 bits; 0 for a zero divisor.
int MulDiv(long long a, long long b, long long c)
{
    return c == 0 ? 0 : static_cast<int>(a * b / c);
}

}  // namespace

QRect OverviewFrame(const ViewGeometry &view, QSize client)
{
    const long long w = view.imageSize.width();
    const long long h = view.imageSize.height();
    const long long dx = w * view.zoomX;
    const long long dy = h * view.zoomY;
    if (dx <= 0 || dy <= 0)
        return {};
    const int cw = client.width();
    const int ch = client.height();
    const int left = MulDiv(static_cast<long long>(view.scroll.x()) * cw, 100, dx);
    const int top = MulDiv(static_cast<long long>(ch) * view.scroll.y(), 100, dy);
    const int width = MulDiv(static_cast<long long>(cw) * view.size.width(), 100, dx);
    const int height = MulDiv(static_cast<long long>(view.size.height()) * ch, 100, dy);
    return QRect(left, top, width, height);
}

QPoint ClampFramePosition(QPoint topLeft, QSize frameSize, QSize client)
{
    auto clamp = [](int pos, int size, int limit) {
        if (pos < 0)
            return 0;
        // A frame larger than the client stays at 0 rather than going negative.
        if (pos + size > limit)
            return limit > size ? limit - size : 0;
        return pos;
    };
    return {clamp(topLeft.x(), frameSize.width(), client.width()),
            clamp(topLeft.y(), frameSize.height(), client.height())};
}

QPoint ScrollForFrame(const ViewGeometry &view, QSize client, QPoint topLeft)
{
    const long long cw = client.width();
    const long long ch = client.height();
    const long long zoomedW = static_cast<long long>(view.zoomX) * view.imageSize.width();
    const long long zoomedH = static_cast<long long>(view.zoomY) * view.imageSize.height();
    long long x = cw == 0 ? 0 : zoomedW * topLeft.x() / cw / 100;
    long long y = ch == 0 ? 0 : zoomedH * topLeft.y() / ch / 100;
    // The truncated frame width lets a frame at the far edge ask for a few
    // pixels past the image: the view stops at the image's end instead.
    x = std::max(0LL, std::min(x, zoomedW / 100 - view.size.width()));
    y = std::max(0LL, std::min(y, zoomedH / 100 - view.size.height()));
    return {static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace orv
