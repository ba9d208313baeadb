#pragma once
// Geometry and state of the image view: where it sits, how large it is, which
// part of the zoomed image it shows, and how view pixels map to image pixels.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace orv {

// What the view has to do before it can show the composite.
enum ViewStateCode : int {
    ViewNoImage = 0,     // no image: the view ignores the mouse
    ViewUpToDate = 1,    // the composite is current
    ViewRebuild = 2,     // rebuild the composite before showing it
    ViewScrollOnly = 3,  // the overview scrolled: only stretch the visible part
};

// The pointer interaction's current drag.
enum DragMode : int {
    DragIdle = 0,
    DragStandardScale = 1,
    DragHBarEnd = 2,
    DragVBarEnd = 3,
    DragHBar = 4,
    DragVBar = 5,
    DragMeasure = 6,
    DragPoint = 7,
    DragPlacing = 8,
};
inline constexpr int kDragModeCount = 9;

struct ViewGeometry {
    QPoint origin;         // top left of the view in dialog client pixels
    QSize size{0, 0};      // view size in device pixels (view pixels)
    QPoint scroll;         // offset of the visible part, zoomed pixels
    int zoomX = 100;       // percent
    int zoomY = 100;
    QSize imageSize{0, 0};

    // View point (relative to the origin) to image pixel; truncates toward zero.
    // A zero zoom maps everything to the image origin rather than dividing by zero.
    QPoint ViewToImage(QPoint view) const;
    // Image pixel to view point (relative to the origin).
    QPoint ImageToView(QPoint image) const;
    // Image length to view length and back, per axis.
    int ImageToViewX(int len) const;
    int ImageToViewY(int len) const;
    int ViewToImageX(int len) const;
    int ViewToImageY(int len) const;

    // The part of the image the view shows, in image pixels.
    QRect SourceRect() const;
};

}  // namespace orv
