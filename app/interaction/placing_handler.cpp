#include "app/interaction/placing_handler.h"

#include "measure/derive.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"
#include "app/page_bridge.h"
#include "app/ui_prompter.h"

namespace orv {

using namespace interaction;

void BeginPlacing(COrvalinDlg &dlg, PointerState &state, QPoint p)
{
    std::unique_ptr<MeasureItem> item = NewItemForCurrentTool(dlg);
    SetPointAt(item.get(), 0, dlg.ViewToImage(p));
    state.index = 0;
    BeginEditDrag(dlg, std::move(item), DragPlacing);
}

void PlacingHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    if (!dlg.editItem()) {
        dlg.setDragMode(DragIdle);
        return;
    }
    // Until the first release this moves point 0 itself.
    state_->index = SetPointAt(dlg.editItem(), state_->index, dlg.ViewToImage(p));
    // Collinear points keep the circle of the last position that had one.
    UpdateDerivedGeometry(*dlg.editItem());
    dlg.RebuildEditLayer();
}

void PlacingHandler::release(COrvalinDlg &dlg, QPoint p)
{
    MeasureItem *item = dlg.editItem();
    if (!item) {
        dlg.setDragMode(DragIdle);
        return;
    }
    ++state_->index;
    const int count = PointCountForKind(item->kind);
    if (state_->index < count) {
        SetPointAt(item, state_->index, dlg.ViewToImage(p));
        UpdateDerivedGeometry(*item);
        dlg.RebuildEditLayer();
        return;
    }
    // An open kind waits for its double click; the next move adds the rubber band.
    if (count < 0)
        return;
    Complete(dlg);
}

void PlacingHandler::Complete(COrvalinDlg &dlg)
{
    MeasureItem *item = dlg.editItem();
    if (item->kind == KindText) {
        const std::optional<QString> text = dlg.prompter().inputText(&dlg, QString());
        // The dialog runs its own event loop: a new image may have dropped
        // the item meanwhile.
        if (dlg.editItem() != item) {
            dlg.setDragMode(DragIdle);
            return;
        }
        if (!text || text->isEmpty()) {
            Discard(dlg);
            return;
        }
        item->text = CutToRecordText(*text);
    }
    List(dlg);
    // The new item stays selected.
    dlg.setDragMode(DragIdle);
    dlg.RebuildView();
}

MeasureItem &PlacingHandler::List(COrvalinDlg &dlg)
{
    page_bridge::ComputeMeasureValue(dlg, *dlg.editItem());
    std::unique_ptr<MeasureItem> owned = dlg.takeEditItem();
    MeasureItem &item = *owned;
    item.number = dlg.measureList().Append(std::move(owned));
    dlg.AddMeasureRows(item);
    return item;
}

void PlacingHandler::Discard(COrvalinDlg &dlg)
{
    dlg.setEditItem(nullptr);
    dlg.setSelectedItem(nullptr);
    dlg.setDragMode(DragIdle);
    dlg.RebuildView();
}

void PlacingHandler::doubleClick(COrvalinDlg &dlg, QPoint)
{
    MeasureItem *item = dlg.editItem();
    if (!item) {
        dlg.setDragMode(DragIdle);
        return;
    }
    if (PointCountForKind(item->kind) >= 0)
        return;
    // The rubber-band point counts; it lies where the double click happened.
    if (item->points.size() <= 2) {
        Discard(dlg);
        return;
    }
    MeasureItem &listed = List(dlg);
    if (listed.kind == KindPerpendicular || listed.kind == KindParallel) {
        for (SubResult &s : listed.subResults)
            s.labelBox.bottom = -1;
    }
    listed.labelBox.bottom = 0;
    dlg.setDragMode(DragIdle);
    dlg.RebuildView();
}

void PlacingHandler::rightPress(COrvalinDlg &dlg, QPoint)
{
    Discard(dlg);
}

}  // namespace orv
