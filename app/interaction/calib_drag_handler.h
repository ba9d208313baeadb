#pragma once
// DragModes 1 to 5 on the Scale page: the standard scale or a calibration
// bar's body is moved, or a bar's end is dragged to a new length. While the
// drag runs, the bar is drawn at its provisional place over the view (and a
// bar end's provisional length goes to the document); the release hands the
// result in image pixels to the document's calibration editor.

#include <QSize>

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/interaction/pointer_handler.h"
#include "view/view_state.h"

namespace orv {

struct ScaleBarHit;

// A press on a calibration grip starts the matching drag; no grip, no drag.
void BeginCalibDrag(InteractionContext &ctx, PointerState &state, const ScaleBarHit &hit,
                    QPoint viewPoint);

// The provisional offset and length of a calibration drag in view pixels,
// the pointer's displacement since the press limited to keep the bar in view.
struct CalibDragStep {
    QPoint offset;
    int length = 0;
};
CalibDragStep LimitCalibDrag(DragMode dragMode, QPoint position, int length, QPoint displacement,
                             QSize view, int scaleFontSize);

class CalibDragHandler : public ViewPointerHandler {
public:
    CalibDragHandler(DragMode dragMode, std::shared_ptr<PointerState> state)
        : mode_(dragMode), state_(std::move(state))
    {
    }

    void move(InteractionContext &ctx, QPoint viewPoint) override;
    void release(InteractionContext &ctx, QPoint viewPoint) override;
    void paintOverlay(InteractionContext &ctx, QPainter &painter) override;

private:
    bool vertical() const;

    DragMode mode_;
    std::shared_ptr<PointerState> state_;
};

}  // namespace orv
