// Which calibration bar lies under the pointer, and what the end of a bar
// drag writes into the page.
#include "app/pages/scale/scale_page.h"

#include "app/pages/page_host.h"
#include "app/pages/page_index.h"
#include "document/document_history.h"
#include "measure/geometry.h"

namespace orv {
namespace {

// Grip radius in image pixels.
constexpr unsigned kGrip = 5;

// A point within the grip radius of the start is never a hit on that bar, so
// at the shared corner of the default bars neither bar is hit.
int BarGrip(const MeasureItem &bar, QPoint q, int endGrip, int bodyGrip)
{
    if (bar.points.size() < 2)
        return GripNone;
    const QPoint a = bar.points[0].pos;
    const QPoint b = bar.points[1].pos;
    if (PixelDistance(q, a) < kGrip)
        return GripNone;
    if (PixelDistance(q, b) < kGrip)
        return endGrip;
    if (SegmentDistance(a, b, q) < static_cast<int>(kGrip))
        return bodyGrip;
    return GripNone;
}

QPoint StandardScaleEnd(const StandardScale &s)
{
    return QPoint(s.position.x() + s.pixelLength, s.position.y());
}

}  // namespace

ScaleBarHit ScalePage::HitTestScaleBars(QPoint viewPoint)
{
    const QPoint q = owner_ ? owner_->ViewToImage(viewPoint) : viewPoint;
    return HitTestScaleBarsAtImage(q);
}

ScaleBarHit ScalePage::HitTestScaleBarsAtImage(QPoint q)
{
    if (hasPendingEdit())
        CommitScaleEdits();

    if (const int grip = BarGrip(bars_.horizontal, q, GripHBarEnd, GripHBarBody))
        return {&bars_.horizontal, grip};
    if (const int grip = BarGrip(bars_.vertical, q, GripVBarEnd, GripVBarBody))
        return {&bars_.vertical, grip};

    // The standard scale answers whether it is shown or not.
    const QPoint end = StandardScaleEnd(standard_);
    if (SegmentDistance(standard_.position, end, q) < static_cast<int>(kGrip)) {
        standardRecord_ = MeasureItem{};
        standardRecord_.kind = KindStandardScale;
        AppendPoint(standardRecord_, standard_.position);
        AppendPoint(standardRecord_, end);
        standardRecord_.lineWidth = standard_.penWidth();
        standardRecord_.lineColor = standard_.lineColor;
        return {&standardRecord_, GripStandardScale};
    }
    return {};
}

void ScalePage::ShowDragLength(int grip, int viewLength)
{
    (grip == GripVBarEnd ? setting_.vPixel : setting_.hPixel) = std::to_string(viewLength);
    scaleFileName_.clear();
    ShowFields();
}

void ScalePage::EndHorizontalBarDrag(QPoint start, int length)
{
    SetHorizontalBarEnd(setting_, start, length);
    ApplyBarLength();
}

void ScalePage::EndVerticalBarDrag(QPoint start, int length)
{
    SetVerticalBarEnd(setting_, start, length);
    ApplyBarLength();
}

void ScalePage::ApplyBarLength()
{
    const DocumentStep step(doc_);
    bars_.Update(setting_);
    ShowFields();
    RecomputeAllMeasures();
    UpdateStandardPixels();
    Recompose();
}

void ScalePage::MoveHorizontalBar(QPoint start)
{
    setting_.hStart = start;
    bars_.Update(setting_);
    Recompose();
}

void ScalePage::MoveVerticalBar(QPoint start)
{
    setting_.vStart = start;
    bars_.Update(setting_);
    Recompose();
}

void ScalePage::MoveStandardScale(QPoint position)
{
    standard_.position = position;
    if (standardRecord_.points.size() >= 2) {
        standardRecord_.points[0].pos = position;
        standardRecord_.points[1].pos = StandardScaleEnd(standard_);
    }
    Recompose();
}

void ScalePage::FreeScaleBars()
{
    bars_.horizontal.points.clear();
    bars_.vertical.points.clear();
}

}  // namespace orv
