#include "app/interaction/idle_handler.h"

#include "app/calib_tab.h"
#include "measure/hit_test.h"
#include "app/interaction/calib_drag_handler.h"
#include "app/interaction/dlg_ops.h"
#include "app/interaction/move_handler.h"
#include "app/interaction/placing_handler.h"
#include "app/interaction/point_drag_handler.h"
#include "app/orvalin_dlg.h"
#include "document/measure_document.h"
#include "app/tool_tab.h"

namespace orv {

using namespace interaction;

void IdleHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    if (dlg.currentTab() == TabScale)
        HoverScaleBars(dlg, p);
    else if (OnMeasurePages(dlg))
        HoverMeasure(dlg, p);
}

void IdleHandler::HoverScaleBars(COrvalinDlg &dlg, QPoint p)
{
    CCalibTab *calib = dlg.calibTab();
    const ScaleBarHit hit = calib ? calib->HitTestScaleBars(p) : ScaleBarHit{};
    if (!hit) {
        dlg.setRememberedCursor(Qt::BlankCursor);
        return;
    }
    if (hit.grip < 0)
        dlg.setRememberedCursor(Qt::SizeAllCursor);
    else if (hit.grip >= GripVBarEnd)
        dlg.setRememberedCursor(Qt::SizeVerCursor);
    else
        dlg.setRememberedCursor(Qt::SizeHorCursor);
}

void IdleHandler::HoverMeasure(COrvalinDlg &dlg, QPoint p)
{
    MeasureDocument &doc = dlg.document();
    // Only the selected measurement, and only while it is in the list.
    const MeasureItem *selected = doc.Find(doc.selectedId());
    MeasureHit hit;
    if (CToolTab *tool = dlg.toolTab(); tool && selected)
        hit = tool->HitTestMeasure(selected, dlg.ViewToImage(p));
    if (hit) {
        dlg.setRememberedCursor(hit.code < 0 ? Qt::SizeAllCursor : Qt::SizeFDiagCursor);
        state_->hitItem = selected->id;
        state_->hitCode = hit.code;
        state_->hitSubResult = hit.subResult;
        return;
    }
    if (dlg.rememberedCursor() != Qt::ArrowCursor) {
        dlg.setRememberedCursor(Qt::ArrowCursor);
        dlg.document().SetEditItem(nullptr);
    }
}

void IdleHandler::press(COrvalinDlg &dlg, QPoint p)
{
    if (!dlg.hasRememberedCursor() || dlg.viewState() == ViewState::NoImage || !InView(dlg, p))
        return;
    if (dlg.currentTab() == TabScale) {
        if (CCalibTab *calib = dlg.calibTab())
            BeginCalibDrag(dlg, *state_, calib->HitTestScaleBars(p), p);
    } else if (OnMeasurePages(dlg)) {
        PressOnMeasurePages(dlg, p);
    }
}

void IdleHandler::PressOnMeasurePages(COrvalinDlg &dlg, QPoint p)
{
    switch (dlg.rememberedCursor()) {
    case Qt::ArrowCursor:
        BeginPlacing(dlg, *state_, p);
        break;
    case Qt::SizeAllCursor:
        BeginMeasureMove(dlg, *state_, p);
        break;
    case Qt::SizeFDiagCursor:
        BeginPointDrag(dlg, *state_);
        break;
    default:
        break;
    }
}

void IdleHandler::rightPress(COrvalinDlg &dlg, QPoint)
{
    const Qt::CursorShape cursor = dlg.rememberedCursor();
    const bool overSelection = cursor == Qt::SizeAllCursor || cursor == Qt::SizeFDiagCursor;
    if (OnMeasurePages(dlg) && overSelection) {
        if (const MeasureItem *item = LiveHitItem(dlg, *state_)) {
            // The question runs its own event loop: only the id is kept across it.
            const ItemId id = item->id;
            if (AskYesNo(dlg, QStringLiteral("Delete this measurement result ?"),
                         QStringLiteral(" この計測アイテムを削除しますか？"))) {
                state_->hitItem = kNoItem;
                RemoveItem(dlg, id);
                ToolSelect(dlg);
            }
            return;
        }
    }
    // Anywhere else a right click clears the selection.
    MeasureDocument &doc = dlg.document();
    doc.SetEditItem(nullptr);
    doc.ClearSelection();
    // Rewriting every row costs milliseconds with hundreds of items.
    if (!doc.results().NumberedInOrder(doc.list()))
        doc.Renumber();
    dlg.RebuildView();
}

}  // namespace orv
