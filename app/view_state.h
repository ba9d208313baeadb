#pragma once
// Geometry and state of the image view: where it sits, how large it is, which
// part of the zoomed image it shows, and how view pixels map to image pixels.

#include <QPoint>
#include <QRect>
#include <QSize>

#include <type_traits>

namespace orv {

// What the view has to do before it can show the composite.
enum class ViewState : int {
    NoImage = 0,     // no image: the view ignores the mouse
    UpToDate = 1,    // the composite is current
    Rebuild = 2,     // rebuild the composite before showing it
    ScrollOnly = 3,  // the overview scrolled: only stretch the visible part
};

// The pointer interaction's current drag.
enum class DragMode : int {
    Idle = 0,
    StandardScale = 1,
    HBarEnd = 2,
    VBarEnd = 3,
    HBar = 4,
    VBar = 5,
    Measure = 6,
    Point = 7,
    Placing = 8,
};
inline constexpr int kDragModeCount = 9;

// The number behind a state (a table index, or a code a test or file sees).
template <typename E>
constexpr auto ToUnderlying(E e) noexcept
{
    return static_cast<std::underlying_type_t<E>>(e);
}

// The calibration drags: the bars and the standard scale.
constexpr bool IsCalibDrag(DragMode mode)
{
    return mode >= DragMode::StandardScale && mode <= DragMode::VBar;
}

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
