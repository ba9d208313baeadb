#include "app/interaction/idle_handler.h"

#include "app/pages/page_index.h"
#include "measure/hit_test.h"

#include "app/interaction/calib_drag_handler.h"
#include "app/interaction/interaction_ops.h"
#include "app/interaction/move_handler.h"
#include "app/interaction/placing_handler.h"
#include "app/interaction/point_drag_handler.h"
#include "document/calibration_edit.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

void IdleHandler::move(InteractionContext &ctx, QPoint p)
{
    if (!InView(ctx.view, p)) {
        ctx.view.forgetCursor();
        return;
    }
    if (ctx.view.currentPage() == PageScale)
        HoverScaleBars(ctx, p);
    else if (OnMeasurePages(ctx.view))
        HoverMeasure(ctx, p);
}

void IdleHandler::HoverScaleBars(InteractionContext &ctx, QPoint p)
{
    const ScaleBarHit hit = ctx.doc.calibrationEdit().HitTest(ViewToImage(ctx.view, p));
    if (!hit) {
        ctx.view.setRememberedCursor(Qt::BlankCursor);
        return;
    }
    if (hit.grip < 0)
        ctx.view.setRememberedCursor(Qt::SizeAllCursor);
    else if (hit.grip >= GripVBarEnd)
        ctx.view.setRememberedCursor(Qt::SizeVerCursor);
    else
        ctx.view.setRememberedCursor(Qt::SizeHorCursor);
}

void IdleHandler::HoverMeasure(InteractionContext &ctx, QPoint p)
{
    MeasureDocument &doc = ctx.doc;
    // Only the selected measurement, and only while it is in the list.
    const MeasureItem *selected = doc.Find(doc.selectedId());
    MeasureHit hit;
    if (selected)
        hit = HitTestMeasure(*selected, ViewToImage(ctx.view, p));
    if (hit) {
        ctx.view.setRememberedCursor(hit.code < 0 ? Qt::SizeAllCursor : Qt::SizeFDiagCursor);
        state_->hitItem = selected->id;
        state_->hitCode = hit.code;
        state_->hitSubResult = hit.subResult;
        return;
    }
    if (ctx.view.rememberedCursor() != Qt::ArrowCursor) {
        ctx.view.setRememberedCursor(Qt::ArrowCursor);
        ctx.doc.SetEditItem(nullptr);
    }
}

void IdleHandler::press(InteractionContext &ctx, QPoint p)
{
    if (ctx.view.rememberedCursor() == Qt::BlankCursor || ctx.view.viewState() == ViewState::NoImage ||
        !InView(ctx.view, p))
        return;
    if (ctx.view.currentPage() == PageScale) {
        BeginCalibDrag(ctx, *state_, ctx.doc.calibrationEdit().HitTest(ViewToImage(ctx.view, p)), p);
    } else if (OnMeasurePages(ctx.view)) {
        PressOnMeasurePages(ctx, p);
    }
}

void IdleHandler::PressOnMeasurePages(InteractionContext &ctx, QPoint p)
{
    switch (ctx.view.rememberedCursor()) {
    case Qt::ArrowCursor:
        BeginPlacing(ctx, *state_, p);
        break;
    case Qt::SizeAllCursor:
        BeginMeasureMove(ctx, *state_, p);
        break;
    case Qt::SizeFDiagCursor:
        BeginPointDrag(ctx, *state_);
        break;
    default:
        break;
    }
}

void IdleHandler::rightPress(InteractionContext &ctx, QPoint)
{
    const Qt::CursorShape cursor = ctx.view.rememberedCursor();
    const bool overSelection = cursor == Qt::SizeAllCursor || cursor == Qt::SizeFDiagCursor;
    if (OnMeasurePages(ctx.view) && overSelection) {
        if (const MeasureItem *item = LiveHitItem(ctx, *state_)) {
            if (AskAndRemoveItem(ctx, item->id))
                state_->hitItem = kNoItem;
            return;
        }
    }
    // Anywhere else a right click clears the selection.
    MeasureDocument &doc = ctx.doc;
    doc.SetEditItem(nullptr);
    doc.ClearSelection();
    // Rewriting every row costs milliseconds with hundreds of items.
    if (!doc.results().NumberedInOrder(doc.list()))
        doc.Renumber();
    ctx.view.rebuild();
}

}  // namespace orv
