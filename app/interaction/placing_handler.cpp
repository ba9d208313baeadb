#include "app/interaction/placing_handler.h"

#include "measure/derive.h"
#include "app/interaction/interaction_ops.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

void BeginPlacing(InteractionContext &ctx, PointerState &state, QPoint p)
{
    std::unique_ptr<MeasureItem> item = NewItemForCurrentTool(ctx);
    SetPointAt(item.get(), 0, ViewToImage(ctx.view, p));
    state.index = 0;
    BeginEditDrag(ctx, std::move(item), DragMode::Placing);
}

void PlacingHandler::move(InteractionContext &ctx, QPoint p)
{
    if (!InView(ctx.view, p)) {
        ctx.view.forgetCursor();
        return;
    }
    if (!ctx.doc.editItem()) {
        ctx.view.setDragMode(DragMode::Idle);
        return;
    }
    // Until the first release this moves point 0 itself.
    state_->index = SetPointAt(ctx.doc.editItem(), state_->index, ViewToImage(ctx.view, p));
    // Collinear points keep the circle of the last position that had one.
    UpdateDerivedGeometry(*ctx.doc.editItem());
    ctx.view.rebuildEditLayer();
}

void PlacingHandler::release(InteractionContext &ctx, QPoint p)
{
    MeasureItem *item = ctx.doc.editItem();
    if (!item) {
        ctx.view.setDragMode(DragMode::Idle);
        return;
    }
    ++state_->index;
    const int count = PointCountForKind(item->kind);
    if (state_->index < count) {
        SetPointAt(item, state_->index, ViewToImage(ctx.view, p));
        UpdateDerivedGeometry(*item);
        ctx.view.rebuildEditLayer();
        return;
    }
    // An open kind waits for its double click; the next move adds the rubber band.
    if (count < 0)
        return;
    Complete(ctx);
}

void PlacingHandler::Complete(InteractionContext &ctx)
{
    MeasureDocument &doc = ctx.doc;
    if (doc.editItem()->kind == KindText) {
        const std::uint64_t asked = doc.editGeneration();
        const std::optional<QString> text = ctx.view.askText();
        // The dialog runs its own event loop: a new image may have dropped
        // the item meanwhile (or put another in its place).
        if (doc.editGeneration() != asked || !doc.editItem()) {
            ctx.view.setDragMode(DragMode::Idle);
            return;
        }
        if (!text || text->isEmpty()) {
            Discard(ctx);
            return;
        }
        doc.editItem()->text = CutToRecordText(*text);
    }
    List(ctx);
    // The new item stays selected.
    ctx.view.setDragMode(DragMode::Idle);
    ctx.view.rebuild();
}

MeasureItem &PlacingHandler::List(InteractionContext &ctx)
{
    return *ctx.doc.ListEditItem();
}

void PlacingHandler::Discard(InteractionContext &ctx)
{
    ctx.doc.SetEditItem(nullptr);
    ctx.doc.ClearSelection();
    ctx.view.setDragMode(DragMode::Idle);
    ctx.view.rebuild();
}

void PlacingHandler::doubleClick(InteractionContext &ctx, QPoint)
{
    MeasureItem *item = ctx.doc.editItem();
    if (!item) {
        ctx.view.setDragMode(DragMode::Idle);
        return;
    }
    if (PointCountForKind(item->kind) >= 0)
        return;
    // The rubber-band point counts; it lies where the double click happened.
    if (item->points.size() <= 2) {
        Discard(ctx);
        return;
    }
    MeasureItem &listed = List(ctx);
    if (listed.kind == KindPerpendicular || listed.kind == KindParallel) {
        for (SubResult &s : listed.subResults)
            s.labelBox.bottom = -1;
    }
    listed.labelBox.bottom = 0;
    ctx.view.setDragMode(DragMode::Idle);
    ctx.view.rebuild();
}

void PlacingHandler::rightPress(InteractionContext &ctx, QPoint)
{
    Discard(ctx);
}

}  // namespace orv
