#include "app/interaction/point_drag_handler.h"

#include "measure/derive.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"
#include "app/page_bridge.h"

namespace orv {

using namespace interaction;

void BeginPointDrag(COrvalinDlg &dlg, PointerState &state)
{
    MeasureItem *source = LiveHitItem(dlg, state);
    if (!source || state.hitCode < 0)
        return;
    state.index = state.hitCode;
    BeginEditDrag(dlg, CloneMeasureItem(*source), DragPoint);
}

void PointDragHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    if (MeasureItem *clone = dlg.editItem()) {
        SetPointAt(clone, state_->index, dlg.ViewToImage(p));
        // Collinear points keep the circle of the last position that had one.
        UpdateDerivedGeometry(*clone);
        dlg.RebuildEditLayer();
    }
}

void MergeDraggedPoint(MeasureItem &s, const MeasureItem &c)
{
    s.points = c.points;
    s.center = c.center;
    s.center2 = c.center2;
    s.radius = c.radius;
    s.radius2 = c.radius2;
    // The labels go back to their anchors.
    s.labelBox.bottom = 0;
    if (s.kind == KindPerpendicular || s.kind == KindParallel || s.kind == KindStandardParallel) {
        for (std::size_t k = 0; k < s.subResults.size(); ++k) {
            if (k + 2 < s.points.size())
                s.subResults[k].pos = s.points[k + 2].pos;
            s.subResults[k].labelBox.bottom = 0;
        }
    }
}

void PointDragHandler::release(COrvalinDlg &dlg, QPoint)
{
    MeasureItem *source = ListedSource(dlg, *state_);
    if (MeasureItem *clone = dlg.editItem(); clone && source)
        MergeDraggedPoint(*source, *clone);
    dlg.setSelectedItem(source);
    ShowRecordAttributes(dlg, source);
    dlg.setEditItem(nullptr);
    dlg.setDragMode(DragIdle);
    if (source) {
        page_bridge::ComputeMeasureValue(dlg, *source);
        dlg.RefreshMeasureRows(*source);
        dlg.SelectItemRow(source);
    }
    dlg.RebuildView();
}

}  // namespace orv
