#include "app/interaction/move_handler.h"

#include <algorithm>
#include <vector>

#include "measure/derive.h"
#include "measure/hit_test.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

namespace {

bool AnchorsFollowPoints(std::uint32_t kind)
{
    return kind == KindPerpendicular || kind == KindParallel || kind == KindStandardParallel;
}

}  // namespace

void BeginMeasureMove(COrvalinDlg &dlg, PointerState &state, QPoint p)
{
    MeasureItem *source = LiveHitItem(dlg, state);
    if (!source)
        return;
    state.last = dlg.ViewToImage(p);
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(*source);
    // The clone's box stands for the grabbed sub-result label.
    if (state.hitCode == HitSubResultLabel && state.hitSubResult >= 0 &&
        state.hitSubResult < static_cast<int>(source->subResults.size()))
        clone->labelBox = source->subResults[static_cast<std::size_t>(state.hitSubResult)].labelBox;
    BeginEditDrag(dlg, std::move(clone), DragMode::Measure);
}

void MeasureMoveHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    MeasureItem *clone = dlg.document().editItem();
    if (!clone)
        return;
    const QPoint q = dlg.ViewToImage(p);
    const QPoint d = q - state_->last;
    if (state_->hitCode == HitLabel || state_->hitCode == HitSubResultLabel) {
        if (clone->labelBox.bottom != 0)
            ShiftLabelBox(clone->labelBox, d);
    } else if (state_->hitCode == HitStroke) {
        for (MeasurePoint &pt : clone->points)
            pt.pos += d;
        if (AnchorsFollowPoints(clone->kind)) {
            for (SubResult &s : clone->subResults)
                s.pos += d;
        }
    }
    state_->last = q;
    dlg.RebuildEditLayer();
}

void MeasureMoveHandler::release(COrvalinDlg &dlg, QPoint)
{
    // Back to idle with the source selected again; the clone is freed.
    MeasureDocument &doc = dlg.document();
    doc.CommitMove(state_->hitItem, state_->hitCode, state_->hitSubResult);
    state_->hitSubResult = -1;
    ShowRecordAttributes(dlg, doc.selectedItem());
    dlg.setDragMode(DragMode::Idle);
    dlg.RebuildView();
}

}  // namespace orv
