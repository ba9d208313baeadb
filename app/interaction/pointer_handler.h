#pragma once
// One unit of the pointer interaction: the view's mouse events go to the
// handler of the current DragMode. Positions are relative to the view origin.

#include <QPoint>

#include "app/interaction/interaction_view.h"

class QPainter;

namespace orv {

class ViewPointerHandler {
public:
    virtual ~ViewPointerHandler() = default;
    virtual void press(InteractionContext &, QPoint) { }
    virtual void move(InteractionContext &, QPoint) { }
    virtual void release(InteractionContext &, QPoint) { }
    virtual void doubleClick(InteractionContext &, QPoint) { }
    virtual void rightPress(InteractionContext &, QPoint) { }
    // Drawn over the stretched composite, clipped to the view (provisional bars).
    virtual void paintOverlay(InteractionContext &, QPainter &) { }
};

}  // namespace orv
