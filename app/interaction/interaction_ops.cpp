#include "app/interaction/interaction_ops.h"

#include "calib/draw_attribute.h"
#include "app/pages/page_index.h"
#include "document/measure_document.h"

namespace orv::interaction {

bool InView(const InteractionView &view, QPoint p)
{
    const QSize size = view.geometry().size;
    return p.x() >= 0 && p.y() >= 0 && p.x() <= size.width() && p.y() <= size.height();
}

bool OnMeasurePages(const InteractionView &view)
{
    return view.currentPage() == PageMeasure || view.currentPage() == PageOptions;
}

QPoint ViewToImage(const InteractionView &view, QPoint viewPoint)
{
    return view.geometry().ViewToImage(viewPoint);
}

MeasureItem *LiveHitItem(const InteractionContext &ctx, const PointerState &state)
{
    if (state.hitItem == kNoItem || state.hitItem != ctx.doc.selectedId())
        return nullptr;
    return ctx.doc.Find(state.hitItem);
}

void RemoveItem(InteractionContext &ctx, ItemId id)
{
    if (!ctx.doc.Remove(id))
        return;
    ShowRecordAttributes(ctx, ctx.doc.selectedItem());
    ctx.view.rebuild();
}

bool AskAndRemoveItem(InteractionContext &ctx, ItemId id)
{
    // The question runs its own event loop: only the id is kept across it.
    if (!ctx.view.askYesNo(QStringLiteral("Delete this measurement result ?"),
                           QStringLiteral(" この計測アイテムを削除しますか？")))
        return false;
    if (!ctx.doc.Find(id))
        return false;
    RemoveItem(ctx, id);
    ctx.view.refreshToolButtons();
    return true;
}

void ShowRecordAttributes(InteractionContext &ctx, const MeasureItem *item)
{
    if (item)
        ctx.view.showAttributes(*item);
}

void BeginEditDrag(InteractionContext &ctx, std::unique_ptr<MeasureItem> item, DragMode mode)
{
    ctx.doc.BeginEdit(std::move(item));
    ctx.view.setDragMode(mode);
    ShowRecordAttributes(ctx, ctx.doc.editItem());
    // Shown at once: the grabbed item loses its selection to the edit item
    // (only those two are redrawn).
    ctx.view.rebuildEditLayer();
}

std::unique_ptr<MeasureItem> NewItemForCurrentTool(const InteractionContext &ctx)
{
    auto item = NewMeasureItem();
    item->kind = static_cast<MeasureKind>(ctx.view.currentTool());
    ctx.doc.drawAttribute().copyTo(*item);
    return item;
}

std::string CutToRecordText(const QString &text)
{
    return CutToRecord(text.toStdString());
}

}  // namespace orv::interaction
