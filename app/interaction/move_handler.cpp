#include "app/interaction/move_handler.h"

#include <algorithm>
#include <vector>

#include "measure/derive.h"
#include "measure/hit_test.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"

namespace orv {

using namespace interaction;

namespace {

bool AnchorsFollowPoints(std::uint32_t kind)
{
    return kind == KindPerpendicular || kind == KindParallel || kind == KindStandardParallel;
}

// Back to idle with the source selected again; the clone is freed.
void EndMove(COrvalinDlg &dlg, MeasureItem *source)
{
    dlg.setSelectedItem(source);
    ShowRecordAttributes(dlg, source);
    dlg.setEditItem(nullptr);
    dlg.setDragMode(DragIdle);
    dlg.RebuildView();
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
    BeginEditDrag(dlg, std::move(clone), DragMeasure);
}

void MeasureMoveHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    MeasureItem *clone = dlg.editItem();
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

void MergeMovedClone(MeasureItem &s, const MeasureItem &c, int hitCode, int hitSubResult)
{
    if (hitCode == HitStroke) {
        const std::size_t n = std::min(s.points.size(), c.points.size());
        std::vector<QPoint> moved(n);
        for (std::size_t i = 0; i < n; ++i) {
            moved[i] = c.points[i].pos - s.points[i].pos;
            s.points[i].pos = c.points[i].pos;
        }
        if (AnchorsFollowPoints(s.kind)) {
            // The k-th sub-result belongs to the k-th point from the third on.
            for (std::size_t k = 0; k < s.subResults.size() && k + 2 < n; ++k) {
                s.subResults[k].pos = s.points[k + 2].pos;
                ShiftLabelBox(s.subResults[k].labelBox, moved[k + 2]);
            }
        } else if (n > 0) {
            ShiftLabelBox(s.labelBox, moved[n - 1]);
        }
        // Hit testing reads the centres, arcs and feet at the new place.
        UpdateDerivedGeometry(s);
    } else if (hitCode == HitLabel) {
        if (c.labelBox.bottom != 0)
            s.labelBox = c.labelBox;
    } else if (hitCode == HitSubResultLabel) {
        if (c.labelBox.bottom != 0 && hitSubResult >= 0 &&
            hitSubResult < static_cast<int>(s.subResults.size())) {
            LabelBox &box = s.subResults[static_cast<std::size_t>(hitSubResult)].labelBox;
            box = c.labelBox;
            // Re-measured at the next drawing.
            box.bottom = -1;
        }
    }
}

void MeasureMoveHandler::release(COrvalinDlg &dlg, QPoint)
{
    MeasureItem *clone = dlg.editItem();
    MeasureItem *source = ListedSource(dlg, *state_);
    if (clone && source)
        MergeMovedClone(*source, *clone, state_->hitCode, state_->hitSubResult);
    state_->hitSubResult = -1;
    EndMove(dlg, source);
}

}  // namespace orv
