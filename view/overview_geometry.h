#pragma once
// Where the overview window's frame lies for a view, and which scroll a frame
// position gives back. Integer arithmetic, products before the divisions.

#include <QPoint>
#include <QRect>
#include <QSize>

#include "view/view_state.h"

namespace orv {

// The frame (the visible part of the zoomed image) in overview client pixels.
// An empty rectangle when the image or the zoom is zero.
QRect OverviewFrame(const ViewGeometry &view, QSize client);

// A dragged frame position kept inside the client: negative goes to 0, a frame
// past the far edge goes back to end on it.
QPoint ClampFramePosition(QPoint topLeft, QSize frameSize, QSize client);

// The view's scroll for a frame at topLeft: zoom × image × position / client / 100,
// kept within the zoomed image.
QPoint ScrollForFrame(const ViewGeometry &view, QSize client, QPoint topLeft);

}  // namespace orv
