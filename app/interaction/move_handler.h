#pragma once
// DragMode 6: a clone of the selected measurement follows the pointer (the
// whole item for a stroke, only the box for a label or a sub-result label);
// the release merges the clone back into its source. Values do not change.

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/interaction/pointer_handler.h"

namespace orv {

// A press with the four-way cursor over the selected item.
void BeginMeasureMove(InteractionContext &ctx, PointerState &state, QPoint viewPoint);

class MeasureMoveHandler : public ViewPointerHandler {
public:
    explicit MeasureMoveHandler(std::shared_ptr<PointerState> state) : state_(std::move(state)) {}

    void move(InteractionContext &ctx, QPoint viewPoint) override;
    void release(InteractionContext &ctx, QPoint viewPoint) override;

private:
    std::shared_ptr<PointerState> state_;
};

}  // namespace orv
