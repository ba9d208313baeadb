#include "app/interaction/move_handler.h"

#include <algorithm>
#include <vector>

#include "measure/derive.h"
#include "measure/hit_test.h"
#include "app/interaction/interaction_ops.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

namespace {

bool AnchorsFollowPoints(std::uint32_t kind)
{
    return kind == KindPerpendicular || kind == KindParallel || kind == KindStandardParallel;
}

}  // namespace

void BeginMeasureMove(InteractionContext &ctx, PointerState &state, QPoint p)
{
    MeasureItem *source = LiveHitItem(ctx, state);
    if (!source)
        return;
    state.last = ViewToImage(ctx.view, p);
    std::unique_ptr<MeasureItem> clone = CloneMeasureItem(*source);
    // The clone's box stands for the grabbed sub-result label.
    if (state.hitCode == HitSubResultLabel && state.hitSubResult >= 0 &&
        state.hitSubResult < static_cast<int>(source->subResults.size()))
        clone->labelBox = source->subResults[static_cast<std::size_t>(state.hitSubResult)].labelBox;
    BeginEditDrag(ctx, std::move(clone), DragMode::Measure);
}

void MeasureMoveHandler::move(InteractionContext &ctx, QPoint p)
{
    if (!InView(ctx.view, p)) {
        ctx.view.forgetCursor();
        return;
    }
    MeasureItem *clone = ctx.doc.editItem();
    if (!clone)
        return;
    const QPoint q = ViewToImage(ctx.view, p);
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
    ctx.view.rebuildEditLayer();
}

void MeasureMoveHandler::release(InteractionContext &ctx, QPoint)
{
    // Back to idle with the source selected again; the clone is freed.
    MeasureDocument &doc = ctx.doc;
    doc.CommitMove(state_->hitItem, state_->hitCode, state_->hitSubResult);
    state_->hitSubResult = -1;
    ShowRecordAttributes(ctx, doc.selectedItem());
    ctx.view.setDragMode(DragMode::Idle);
    ctx.view.rebuild();
}

}  // namespace orv
