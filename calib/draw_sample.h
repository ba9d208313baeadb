#pragma once
// The option page's sample: a two-point line and "Sample TEXT" in the current
// draw attributes, in a 200 x 60 box.

#include <QPaintDevice>
#include <QPainter>

#include "calib/draw_attribute.h"

namespace orv {

inline constexpr int kSampleWidth = 200;
inline constexpr int kSampleHeight = 60;

// Draws over whatever the device holds (the caller clears the box).
void DrawSample(QPainter &p, const DrawAttribute &attr);
void DrawSample(QPaintDevice &device, const DrawAttribute &attr);

}  // namespace orv
