#include "app/interaction/point_drag_handler.h"

#include "measure/derive.h"
#include "app/interaction/interaction_ops.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

void BeginPointDrag(InteractionContext &ctx, PointerState &state)
{
    MeasureItem *source = LiveHitItem(ctx, state);
    if (!source || state.hitCode < 0)
        return;
    state.index = state.hitCode;
    BeginEditDrag(ctx, CloneMeasureItem(*source), DragMode::Point);
}

void PointDragHandler::move(InteractionContext &ctx, QPoint p)
{
    if (!InView(ctx.view, p)) {
        ctx.view.forgetCursor();
        return;
    }
    if (MeasureItem *clone = ctx.doc.editItem()) {
        SetPointAt(clone, state_->index, ViewToImage(ctx.view, p));
        // Collinear points keep the circle of the last position that had one.
        UpdateDerivedGeometry(*clone);
        ctx.view.rebuildEditLayer();
    }
}

void PointDragHandler::release(InteractionContext &ctx, QPoint)
{
    MeasureDocument &doc = ctx.doc;
    doc.CommitPointDrag(state_->hitItem);
    ShowRecordAttributes(ctx, doc.selectedItem());
    ctx.view.setDragMode(DragMode::Idle);
    ctx.view.rebuild();
}

}  // namespace orv
