#pragma once
// How the live picture shows a frame: the frame's pixels drawn onto a
// rectangle of the view, fitted between black bars or stretched. A pointer
// position maps to the frame pixel shown under it, so a click on the live
// picture and a click on that pixel of the captured still give one point.

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>

namespace orv {

struct LiveFrameMapping {
    QSize frame;  // the frame's pixels (the still's, once captured)
    QRect shown;  // the view pixels the frame is drawn onto

    bool valid() const { return !frame.isEmpty() && !shown.isEmpty(); }
    // The frame pixel the view pixel's centre falls on. Not clamped: a view
    // pixel outside `shown` gives a pixel outside the frame.
    QPoint ViewToFrame(QPoint view) const;
    // A frame position (pixel corners at whole numbers) in view coordinates.
    QPointF FrameToView(QPointF frame) const;
    // View pixels per frame pixel.
    double scaleX() const;
    double scaleY() const;

    bool operator==(const LiveFrameMapping &) const = default;
};

}  // namespace orv
