#include "app/interaction/calib_drag_handler.h"

#include <QPainter>

#include <algorithm>

#include "app/interaction/interaction_ops.h"
#include "measure/render/gdi_paint.h"
#include "calib/scale_bars.h"
#include "document/calibration_edit.h"
#include "document/measure_document.h"

namespace orv {

using namespace interaction;

namespace {

// Bars keep this far from the top and bottom (their end ticks are 8 long).
constexpr int kEdge = 8;
// A bar end never makes the bar shorter than this many view pixels.
constexpr int kMinBarLength = 5;

DragMode DragModeOfGrip(int grip)
{
    switch (grip) {
    case GripHBarEnd: return DragMode::HBarEnd;
    case GripVBarEnd: return DragMode::VBarEnd;
    case GripHBarBody: return DragMode::HBar;
    case GripVBarBody: return DragMode::VBar;
    case GripStandardScale: return DragMode::StandardScale;
    default: return DragMode::Idle;
    }
}

bool IsVertical(DragMode mode)
{
    return mode == DragMode::VBarEnd || mode == DragMode::VBar;
}

// Left end within 0 .. view width - 1 - length.
int LimitLeft(int x, int length, QSize view)
{
    return std::max(0, std::min(x, view.width() - 1 - length));
}

}  // namespace

void BeginCalibDrag(InteractionContext &ctx, PointerState &state, const ScaleBarHit &hit, QPoint p)
{
    const DragMode mode = DragModeOfGrip(hit.grip);
    if (!hit || mode == DragMode::Idle || hit.bar->points.size() < 2)
        return;
    const QPoint a = hit.bar->points[0].pos;
    const QPoint b = hit.bar->points[1].pos;
    const ViewGeometry &geo = ctx.view.geometry();
    CalibDragState &drag = state.calib;
    drag = CalibDragState{};
    drag.bar = hit.bar;
    drag.press = p;
    if (IsVertical(mode)) {
        drag.position = geo.ImageToView(QPoint(a.x(), std::min(a.y(), b.y())));
        drag.length = geo.ImageToViewY(std::abs(b.y() - a.y()));
    } else {
        drag.position = geo.ImageToView(QPoint(std::min(a.x(), b.x()), a.y()));
        drag.length = geo.ImageToViewX(std::abs(b.x() - a.x()));
    }
    drag.provisional = drag.length;
    ctx.view.setDragMode(mode);
}

CalibDragStep LimitCalibDrag(DragMode mode, QPoint pos, int length, QPoint d, QSize view,
                             int fontSize)
{
    const int w = view.width();
    const int h = view.height();
    int x = pos.x() + d.x();
    int y = pos.y() + d.y();
    switch (mode) {
    case DragMode::StandardScale:
        x = LimitLeft(x, length, view);
        // The top must lie strictly between 7 and h - 8.
        if (y <= kEdge - 1)
            y = kEdge;
        else if (y >= h - kEdge)
            y = h - kEdge;
        break;
    case DragMode::HBar:
        x = LimitLeft(x, length, view);
        y = std::max(kEdge, std::min(y, h - kEdge));
        break;
    case DragMode::VBar:
        // The bottom and the label below it stay inside the view.
        y = std::max(0, std::min(y, h - 1 - fontSize - length));
        x = std::max(kEdge, std::min(x, w - kEdge));
        break;
    case DragMode::HBarEnd:
        return {QPoint(), std::max(kMinBarLength, std::min(length + d.x(), w - pos.x() - 1))};
    case DragMode::VBarEnd:
        return {QPoint(), std::max(kMinBarLength, std::min(length + d.y(), h - 1 - pos.y() - fontSize))};
    default:
        return {QPoint(), length};
    }
    return {QPoint(x, y) - pos, length};
}

bool CalibDragHandler::vertical() const
{
    return IsVertical(mode_);
}

void CalibDragHandler::move(InteractionContext &ctx, QPoint p)
{
    if (!InView(ctx.view, p)) {
        ctx.view.forgetCursor();
        return;
    }
    CalibDragState &drag = state_->calib;
    const int fontSize = ctx.doc.calibration().standard.fontSize;
    const CalibDragStep step =
        LimitCalibDrag(mode_, drag.position, drag.length, p - drag.press, ctx.view.geometry().size, fontSize);
    drag.offset = step.offset;
    drag.provisional = step.length;
    if (mode_ == DragMode::HBarEnd || mode_ == DragMode::VBarEnd)
        ctx.doc.calibrationEdit().ShowBarDragLength(mode_ == DragMode::VBarEnd ? GripVBarEnd : GripHBarEnd,
                                                    drag.provisional);
    ctx.view.repaint();
}

void CalibDragHandler::release(InteractionContext &ctx, QPoint)
{
    ctx.view.setRememberedCursor(Qt::WhatsThisCursor);
    ctx.view.forgetCursor();
    ctx.view.setDragMode(DragMode::Idle);
    CalibDragState &drag = state_->calib;
    drag.bar = nullptr;
    const ViewGeometry &geo = ctx.view.geometry();
    const QPoint start = geo.ViewToImage(drag.position + drag.offset);
    CalibrationEdit &edit = ctx.doc.calibrationEdit();
    switch (mode_) {
    case DragMode::StandardScale: edit.MoveStandardScale(start); break;
    case DragMode::HBar: edit.MoveHorizontalBar(start); break;
    case DragMode::VBar: edit.MoveVerticalBar(start); break;
    case DragMode::HBarEnd: edit.EndHorizontalBarDrag(start, geo.ViewToImageX(drag.provisional)); break;
    case DragMode::VBarEnd: edit.EndVerticalBarDrag(start, geo.ViewToImageY(drag.provisional)); break;
    default: break;
    }
    ctx.view.rebuild();
}

void CalibDragHandler::paintOverlay(InteractionContext &, QPainter &painter)
{
    const CalibDragState &drag = state_->calib;
    if (!drag.bar)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(SolidPen(drag.bar->lineWidth, drag.bar->lineColor));
    const QPoint at = drag.position + drag.offset;
    const bool endDrag = mode_ == DragMode::HBarEnd || mode_ == DragMode::VBarEnd;
    const int length = endDrag ? drag.provisional : drag.length;
    DrawHaloedBarShape(painter, at, length, vertical());
    painter.restore();
}

}  // namespace orv
