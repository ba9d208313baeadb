#include "app/interaction/point_drag_handler.h"

#include "measure/derive.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

void BeginPointDrag(COrvalinDlg &dlg, PointerState &state)
{
    MeasureItem *source = LiveHitItem(dlg, state);
    if (!source || state.hitCode < 0)
        return;
    state.index = state.hitCode;
    BeginEditDrag(dlg, CloneMeasureItem(*source), DragMode::Point);
}

void PointDragHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    if (MeasureItem *clone = dlg.document().editItem()) {
        SetPointAt(clone, state_->index, dlg.ViewToImage(p));
        // Collinear points keep the circle of the last position that had one.
        UpdateDerivedGeometry(*clone);
        dlg.RebuildEditLayer();
    }
}

void PointDragHandler::release(COrvalinDlg &dlg, QPoint)
{
    MeasureDocument &doc = dlg.document();
    doc.CommitPointDrag(state_->hitItem);
    ShowRecordAttributes(dlg, doc.selectedItem());
    dlg.setDragMode(DragMode::Idle);
    dlg.RebuildView();
}

}  // namespace orv
