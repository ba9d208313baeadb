#include "app/interaction/placing_handler.h"

#include "measure/derive.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"
#include "document/measure_document.h"
#include "app/ui_prompter.h"

namespace orv {

using namespace interaction;

void BeginPlacing(COrvalinDlg &dlg, PointerState &state, QPoint p)
{
    std::unique_ptr<MeasureItem> item = NewItemForCurrentTool(dlg);
    SetPointAt(item.get(), 0, dlg.ViewToImage(p));
    state.index = 0;
    BeginEditDrag(dlg, std::move(item), DragMode::Placing);
}

void PlacingHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    if (!dlg.document().editItem()) {
        dlg.setDragMode(DragMode::Idle);
        return;
    }
    // Until the first release this moves point 0 itself.
    state_->index = SetPointAt(dlg.document().editItem(), state_->index, dlg.ViewToImage(p));
    // Collinear points keep the circle of the last position that had one.
    UpdateDerivedGeometry(*dlg.document().editItem());
    dlg.RebuildEditLayer();
}

void PlacingHandler::release(COrvalinDlg &dlg, QPoint p)
{
    MeasureItem *item = dlg.document().editItem();
    if (!item) {
        dlg.setDragMode(DragMode::Idle);
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
    MeasureDocument &doc = dlg.document();
    if (doc.editItem()->kind == KindText) {
        const std::uint64_t asked = doc.editGeneration();
        const std::optional<QString> text = dlg.prompter().inputText(&dlg, QString());
        // The dialog runs its own event loop: a new image may have dropped
        // the item meanwhile (or put another in its place).
        if (doc.editGeneration() != asked || !doc.editItem()) {
            dlg.setDragMode(DragMode::Idle);
            return;
        }
        if (!text || text->isEmpty()) {
            Discard(dlg);
            return;
        }
        doc.editItem()->text = CutToRecordText(*text);
    }
    List(dlg);
    // The new item stays selected.
    dlg.setDragMode(DragMode::Idle);
    dlg.RebuildView();
}

MeasureItem &PlacingHandler::List(COrvalinDlg &dlg)
{
    return *dlg.document().ListEditItem();
}

void PlacingHandler::Discard(COrvalinDlg &dlg)
{
    dlg.document().SetEditItem(nullptr);
    dlg.document().ClearSelection();
    dlg.setDragMode(DragMode::Idle);
    dlg.RebuildView();
}

void PlacingHandler::doubleClick(COrvalinDlg &dlg, QPoint)
{
    MeasureItem *item = dlg.document().editItem();
    if (!item) {
        dlg.setDragMode(DragMode::Idle);
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
    dlg.setDragMode(DragMode::Idle);
    dlg.RebuildView();
}

void PlacingHandler::rightPress(COrvalinDlg &dlg, QPoint)
{
    Discard(dlg);
}

}  // namespace orv
