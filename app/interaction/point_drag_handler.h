#pragma once
// DragMode 7: one point of a clone of the selected measurement follows the
// pointer; the release copies the clone's geometry into its source, puts the
// labels back to their anchors and recomputes the value and its rows.

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/interaction/pointer_handler.h"

namespace orv {

// A press with the diagonal cursor over a point of the selected item.
void BeginPointDrag(InteractionContext &ctx, PointerState &state);

class PointDragHandler : public ViewPointerHandler {
public:
    explicit PointDragHandler(std::shared_ptr<PointerState> state) : state_(std::move(state)) {}

    void move(InteractionContext &ctx, QPoint viewPoint) override;
    void release(InteractionContext &ctx, QPoint viewPoint) override;

private:
    std::shared_ptr<PointerState> state_;
};

}  // namespace orv
