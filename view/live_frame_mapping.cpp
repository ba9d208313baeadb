#include "view/live_frame_mapping.h"

#include <algorithm>
#include <limits>

namespace orv {
namespace {

// floor(a / b) for b > 0, also for negative a.
long long FloorDiv(long long a, long long b)
{
    const long long q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

// floor((v - origin + 0.5) * frame / shown) without rounding error: the
// scaler samples each view pixel at that frame position.
int AxisToFrame(int v, int origin, int shown, int frame)
{
    // Offsets beyond any picture are cut so the product stays in range.
    constexpr long long kFar = 1LL << 30;
    const long long twice = 2LL * std::clamp(0LL + v - origin, -kFar, kFar) + 1;
    const long long f = FloorDiv(twice * frame, 2LL * shown);
    return static_cast<int>(std::clamp<long long>(f, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

QPoint LiveFrameMapping::ViewToFrame(QPoint view) const
{
    if (!valid())
        return view;
    return {AxisToFrame(view.x(), shown.left(), shown.width(), frame.width()),
            AxisToFrame(view.y(), shown.top(), shown.height(), frame.height())};
}

QPointF LiveFrameMapping::FrameToView(QPointF f) const
{
    if (!valid())
        return f;
    return {shown.left() + f.x() * scaleX(), shown.top() + f.y() * scaleY()};
}

double LiveFrameMapping::scaleX() const
{
    return frame.width() > 0 ? static_cast<double>(shown.width()) / frame.width() : 1.0;
}

double LiveFrameMapping::scaleY() const
{
    return frame.height() > 0 ? static_cast<double>(shown.height()) / frame.height() : 1.0;
}

}  // namespace orv
