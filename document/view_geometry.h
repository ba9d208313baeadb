#pragma once
// Geometry of the image view: where it sits, how large it is, which part of
// the zoomed image it shows, and how view pixels map to image pixels.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace orv {

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
