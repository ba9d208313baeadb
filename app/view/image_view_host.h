#pragma once
// What the image view asks of the window that owns it. The view keeps no
// state: its paint, its pointer events and its screen's ratio all belong to
// the owner, which this keeps the view from knowing by name.

#include <QtGlobal>

class QPainter;

namespace orv {

class PointerInteraction;

class ImageViewHost {
public:
    // Paints what was composed onto the view (painter on the view widget).
    virtual void PaintView(QPainter &painter) = 0;
    // Where the view's pointer events go.
    virtual PointerInteraction &pointer() const = 0;
    // Device pixels per window pixel of the view, as last laid out.
    virtual qreal viewPixelRatio() const = 0;
    // The view's screen changed its ratio.
    virtual void FollowViewRatio() = 0;

protected:
    ~ImageViewHost() = default;
};

}  // namespace orv
