#pragma once
// Finds the regular ticks of a ruler (a stage micrometer or any scale with
// even divisions) on a still and fits their pitch in pixels, with the pitch's
// standard uncertainty. Works on any angle; widget-free.

#include <QImage>
#include <QPointF>

#include "calib/ruler_result.h"

namespace orv {

class RulerFinder {
public:
    // Looks for the tick band anywhere on the image.
    RulerResult find(const QImage &image) const;
    // Looks along the line from a to b (image coordinates, pixel centres at
    // whole numbers), drawn along the ruler over its ticks.
    RulerResult findAlong(const QImage &image, QPointF a, QPointF b) const;
};

}  // namespace orv
