#pragma once
// DragMode 8: a new measurement takes its points click by click. The point
// being placed follows the pointer (the rubber band); a release fixes it, and
// the item is complete at its kind's point count, or for open kinds at a
// double click. A right click cancels.

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/interaction/pointer_handler.h"

namespace orv {

// A press with the arrow cursor: a new item of the current tool with its
// first point under the pointer becomes the selected item being placed.
void BeginPlacing(InteractionContext &ctx, PointerState &state, QPoint viewPoint);

class PlacingHandler : public ViewPointerHandler {
public:
    explicit PlacingHandler(std::shared_ptr<PointerState> state) : state_(std::move(state)) {}

    void move(InteractionContext &ctx, QPoint viewPoint) override;
    void release(InteractionContext &ctx, QPoint viewPoint) override;
    void doubleClick(InteractionContext &ctx, QPoint viewPoint) override;
    void rightPress(InteractionContext &ctx, QPoint viewPoint) override;

private:
    // The item reached its point count: list it (a text item asks for its text first).
    void Complete(InteractionContext &ctx);
    // Frees the item being placed; nothing stays selected.
    void Discard(InteractionContext &ctx);
    // Appends the item being placed to the list, values it and lists its rows.
    MeasureItem &List(InteractionContext &ctx);

    std::shared_ptr<PointerState> state_;
};

}  // namespace orv
