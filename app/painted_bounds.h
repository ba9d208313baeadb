#pragma once
// Where a drawing would put pixels: the drawing runs against a recording
// device that keeps the union of what each primitive can touch (pen width,
// joins and text included), so a region of the composite can be restored and
// redrawn without comparing pixels.

#include <QImage>
#include <QPainter>
#include <QRect>

#include <functional>
#include <vector>

namespace orv {

// The rectangle (in the image's pixels, not clipped to it) that `draw` can
// change when it paints on an image like `like` (same size and resolution).
QRect PaintedBounds(const QImage &like, const std::function<void(QPainter &)> &draw);
// The same for `count` drawings made one after the other with one painter
// (a painter per drawing costs more than most drawings do).
std::vector<QRect> PaintedBoundsEach(const QImage &like, std::size_t count,
                                     const std::function<void(QPainter &, std::size_t)> &draw);

}  // namespace orv
