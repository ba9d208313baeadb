#pragma once
// DragMode 8: a new measurement takes its points click by click. The point
// being placed follows the pointer (the rubber band); a release fixes it, and
// the item is complete at its kind's point count, or for open kinds at a
// double click. A right click cancels.

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/pointer_handler.h"

namespace orv {

// A press with the arrow cursor: a new item of the current tool with its
// first point under the pointer becomes the selected item being placed.
void BeginPlacing(COrvalinDlg &dlg, PointerState &state, QPoint viewPoint);

class PlacingHandler : public ViewPointerHandler {
public:
    explicit PlacingHandler(std::shared_ptr<PointerState> state) : state_(std::move(state)) {}

    void move(COrvalinDlg &dlg, QPoint viewPoint) override;
    void release(COrvalinDlg &dlg, QPoint viewPoint) override;
    void doubleClick(COrvalinDlg &dlg, QPoint viewPoint) override;
    void rightPress(COrvalinDlg &dlg, QPoint viewPoint) override;

private:
    // The item reached its point count: list it (a text item asks for its text first).
    void Complete(COrvalinDlg &dlg);
    // Frees the item being placed; nothing stays selected.
    void Discard(COrvalinDlg &dlg);
    // Appends the item being placed to the list, values it and lists its rows.
    MeasureItem &List(COrvalinDlg &dlg);

    std::shared_ptr<PointerState> state_;
};

}  // namespace orv
