#pragma once
// DragMode 6: a clone of the selected measurement follows the pointer (the
// whole item for a stroke, only the box for a label or a sub-result label);
// the release merges the clone back into its source. Values do not change.

#include <memory>

#include "app/interaction/pointer_state.h"
#include "app/pointer_handler.h"

namespace orv {

// A press with the four-way cursor over the selected item.
void BeginMeasureMove(COrvalinDlg &dlg, PointerState &state, QPoint viewPoint);

class MeasureMoveHandler : public ViewPointerHandler {
public:
    explicit MeasureMoveHandler(std::shared_ptr<PointerState> state) : state_(std::move(state)) {}

    void move(COrvalinDlg &dlg, QPoint viewPoint) override;
    void release(COrvalinDlg &dlg, QPoint viewPoint) override;

private:
    std::shared_ptr<PointerState> state_;
};

// The merge of a moved clone into its source, by what was grabbed.
void MergeMovedClone(MeasureItem &source, const MeasureItem &clone, int hitCode, int hitSubResult);

}  // namespace orv
