#pragma once
// DragMode 0: hovering sets the cursor from what lies under the pointer, a
// press starts the drag the cursor announces, a right click deletes the
// selected measurement (after asking) or clears the selection.

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/interaction/pointer_handler.h"

namespace orv {

class IdleHandler : public ViewPointerHandler {
public:
    explicit IdleHandler(std::shared_ptr<PointerState> state) : state_(std::move(state)) {}

    void move(InteractionContext &ctx, QPoint viewPoint) override;
    void press(InteractionContext &ctx, QPoint viewPoint) override;
    void rightPress(InteractionContext &ctx, QPoint viewPoint) override;

private:
    void HoverScaleBars(InteractionContext &ctx, QPoint viewPoint);
    void HoverMeasure(InteractionContext &ctx, QPoint viewPoint);
    void PressOnMeasurePages(InteractionContext &ctx, QPoint viewPoint);

    std::shared_ptr<PointerState> state_;
};

}  // namespace orv
