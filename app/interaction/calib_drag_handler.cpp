#include "app/interaction/calib_drag_handler.h"

#include <QPainter>

#include <algorithm>

#include "app/calib_tab.h"
#include "app/interaction/dlg_ops.h"
#include "app/orvalin_dlg.h"
#include "measure/render/gdi_paint.h"
#include "calib/scale_bars.h"

namespace orv {

using namespace interaction;

namespace {

// Bars keep this far from the top and bottom (their end ticks are 8 long).
constexpr int kEdge = 8;
// A bar end never makes the bar shorter than this many view pixels.
constexpr int kMinBarLength = 5;

int DragModeOfGrip(int grip)
{
    switch (grip) {
    case GripHBarEnd: return DragHBarEnd;
    case GripVBarEnd: return DragVBarEnd;
    case GripHBarBody: return DragHBar;
    case GripVBarBody: return DragVBar;
    case GripStandardScale: return DragStandardScale;
    default: return DragIdle;
    }
}

bool IsVertical(int mode)
{
    return mode == DragVBarEnd || mode == DragVBar;
}

// Left end within 0 .. view width - 1 - length.
int LimitLeft(int x, int length, QSize view)
{
    return std::max(0, std::min(x, view.width() - 1 - length));
}

}  // namespace

void BeginCalibDrag(COrvalinDlg &dlg, PointerState &state, const ScaleBarHit &hit, QPoint p)
{
    const int mode = DragModeOfGrip(hit.grip);
    if (!hit || mode == DragIdle || hit.bar->points.size() < 2)
        return;
    const QPoint a = hit.bar->points[0].pos;
    const QPoint b = hit.bar->points[1].pos;
    const ViewGeometry &geo = dlg.view();
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
    dlg.setDragMode(mode);
}

CalibDragStep LimitCalibDrag(int mode, QPoint pos, int length, QPoint d, QSize view, int fontSize)
{
    const int w = view.width();
    const int h = view.height();
    int x = pos.x() + d.x();
    int y = pos.y() + d.y();
    switch (mode) {
    case DragStandardScale:
        x = LimitLeft(x, length, view);
        // The top must lie strictly between 7 and h - 8.
        if (y <= kEdge - 1)
            y = kEdge;
        else if (y >= h - kEdge)
            y = h - kEdge;
        break;
    case DragHBar:
        x = LimitLeft(x, length, view);
        y = std::max(kEdge, std::min(y, h - kEdge));
        break;
    case DragVBar:
        // The bottom and the label below it stay inside the view.
        y = std::max(0, std::min(y, h - 1 - fontSize - length));
        x = std::max(kEdge, std::min(x, w - kEdge));
        break;
    case DragHBarEnd:
        return {QPoint(), std::max(kMinBarLength, std::min(length + d.x(), w - pos.x() - 1))};
    case DragVBarEnd:
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

void CalibDragHandler::move(COrvalinDlg &dlg, QPoint p)
{
    if (!InView(dlg, p)) {
        dlg.forgetCursor();
        return;
    }
    CCalibTab *calib = dlg.calibTab();
    CalibDragState &drag = state_->calib;
    const int fontSize = calib ? calib->standardScale().fontSize : 0;
    const CalibDragStep step =
        LimitCalibDrag(mode_, drag.position, drag.length, p - drag.press, dlg.view().size, fontSize);
    drag.offset = step.offset;
    drag.provisional = step.length;
    if (calib && (mode_ == DragHBarEnd || mode_ == DragVBarEnd))
        calib->ShowDragLength(mode_ == DragVBarEnd ? GripVBarEnd : GripHBarEnd, drag.provisional);
    dlg.UpdateView();
}

void CalibDragHandler::release(COrvalinDlg &dlg, QPoint)
{
    dlg.setRememberedCursor(Qt::WhatsThisCursor);
    dlg.forgetCursor();
    dlg.setDragMode(DragIdle);
    CalibDragState &drag = state_->calib;
    drag.bar = nullptr;
    const ViewGeometry &geo = dlg.view();
    const QPoint start = geo.ViewToImage(drag.position + drag.offset);
    CCalibTab *calib = dlg.calibTab();
    if (calib) {
        switch (mode_) {
        case DragStandardScale: calib->MoveStandardScale(start); break;
        case DragHBar: calib->MoveHorizontalBar(start); break;
        case DragVBar: calib->MoveVerticalBar(start); break;
        case DragHBarEnd: calib->EndHorizontalBarDrag(start, geo.ViewToImageX(drag.provisional)); break;
        case DragVBarEnd: calib->EndVerticalBarDrag(start, geo.ViewToImageY(drag.provisional)); break;
        default: break;
        }
    }
    dlg.RebuildView();
}

void CalibDragHandler::paintOverlay(COrvalinDlg &, QPainter &painter)
{
    const CalibDragState &drag = state_->calib;
    if (!drag.bar)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(SolidPen(drag.bar->lineWidth, drag.bar->lineColor));
    const QPoint at = drag.position + drag.offset;
    const bool endDrag = mode_ == DragHBarEnd || mode_ == DragVBarEnd;
    const int length = endDrag ? drag.provisional : drag.length;
    if (vertical())
        DrawVerticalBarShape(painter, at, length);
    else
        DrawHorizontalBarShape(painter, at, length);
    painter.restore();
}

}  // namespace orv
