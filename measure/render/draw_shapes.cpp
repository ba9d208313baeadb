#include "measure/render/draw_shapes.h"

#include <QFontMetrics>

#include <algorithm>

#include "measure/derive.h"
#include "measure/geometry.h"
#include "measure/render/draw_geometry.h"
#include "measure/render/gdi_paint.h"

namespace orv {
namespace {

QPoint Pos(const MeasureItem &item, std::size_t i)
{
    return i < item.points.size() ? item.points[i].pos : QPoint();
}

// The sub-result that belongs to point i (kinds 5 and 7: the k-th sub-result
// for the k-th point from the third on); none while it does not exist yet.
const SubResult *SubResultOfPoint(const MeasureItem &item, std::size_t i)
{
    if (i < 2)
        return nullptr;
    const std::size_t k = i - 2;
    return k < item.subResults.size() ? &item.subResults[k] : nullptr;
}

bool PointListed(const MeasureItem &item, std::size_t i)
{
    const SubResult *s = SubResultOfPoint(item, i);
    return !s || s->row >= 0;
}

// A point that anchors a removed sub-result is not marked; the first
// sub-result with that anchor decides.
bool MarkerHidden(const MeasureItem &item, QPoint pos)
{
    for (const SubResult &s : item.subResults) {
        if (s.pos == pos)
            return s.row < 0;
    }
    return false;
}

void DrawSelectionMarks(QPainter &p, const MeasureItem &item)
{
    const int m = LabelMargin(item);
    switch (item.kind) {
    case KindText: {
        const QPoint p1 = Pos(item, 0);
        const int width = QFontMetrics(p.font()).horizontalAdvance(QString::fromStdString(item.text));
        DrawFilledRect(p, ClampToInt(p1.x() - 2LL), ClampToInt(p1.y() - 2LL),
                       ClampToInt(0LL + p1.x() + width + item.lineWidth + 1),
                       ClampToInt(0LL + p1.y() + item.lineWidth + item.fontSize + 1));
        return;  // a text has no point markers
    }
    case KindPerpendicular:
    case KindParallel:
        if (item.labelBox.bottom > 1)
            DrawLabelFrame(p, item.labelBox, m);
        for (const SubResult &s : item.subResults) {
            if (s.row >= 0 && s.labelBox.bottom > 1)
                DrawLabelFrame(p, s.labelBox, m);
        }
        break;
    case KindDistance2Points:
    case KindDistanceArc:
    case KindDistanceCircles:
    case KindBrokenLine:
    case KindAreaPolygon:
    case KindAreaCircle:
    case KindAngle3Points:
    case KindAngle2Lines:
    case KindAngle3PointsType2:
        if (item.labelBox.bottom > 0)
            DrawLabelFrame(p, item.labelBox, m);
        break;
    default:
        break;
    }
    for (const MeasurePoint &pt : item.points) {
        if (!MarkerHidden(item, pt.pos))
            DrawPointMarker(p, pt.pos);
    }
}

void DrawPolyline(QPainter &p, const MeasureItem &item, bool closed)
{
    for (std::size_t i = 1; i < item.points.size(); ++i)
        DrawSegment(p, item.points[i - 1].pos, item.points[i].pos);
    if (closed && item.points.size() > 1)
        DrawSegment(p, item.points.back().pos, item.points.front().pos);
}

// Kinds 5 (perpendicular feet) and 7 / 14 (parallel lines).
void DrawBaseLineFamily(QPainter &p, const MeasureItem &item, const DerivedGeometry &g, bool parallel)
{
    if (item.points.size() < 2)
        return;
    const QPoint p1 = item.points[0].pos;
    const QPoint p2 = item.points[1].pos;
    DrawSegment(p, p1, p2);
    const QPen itemPen = p.pen();
    const QPen auxPen = DottedPen(FromQColor(itemPen.color()));
    for (std::size_t i = 2; i < item.points.size(); ++i) {
        if (!PointListed(item, i))
            continue;
        const DerivedPoint &d = g.points[i];
        p.setPen(itemPen);
        if (parallel)
            DrawSegment(p, d.lineStart, d.lineEnd);
        else
            DrawSegment(p, item.points[i].pos, d.foot);
        p.setPen(auxPen);
        if (parallel)
            DrawSegment(p, item.points[i].pos, d.foot);
        DrawSegment(p, p1, d.foot);
        DrawSegment(p, p2, d.foot);
    }
    p.setPen(itemPen);
}

QPoint Offset20(QPoint q)
{
    return QPoint(ClampToInt(q.x() - 20LL), ClampToInt(q.y() - 20LL));
}

// Integer mean of three points, truncated toward zero, without overflow.
QPoint Mean3(QPoint a, QPoint b, QPoint c)
{
    return QPoint(ClampToInt((static_cast<long long>(a.x()) + b.x() + c.x()) / 3),
                  ClampToInt((static_cast<long long>(a.y()) + b.y() + c.y()) / 3));
}

}  // namespace

int LabelMargin(const MeasureItem &item)
{
    return ClampToInt(item.lineWidth + 2LL);
}

void DrawLabelFrame(QPainter &p, const LabelBox &box, int margin)
{
    DrawFilledRect(p, ClampToInt(0LL + box.left - margin), ClampToInt(0LL + box.top - margin),
                   ClampToInt(0LL + box.right - margin), ClampToInt(0LL + box.bottom - margin));
}

QPoint ParallelAnglesAnchor(const MeasureItem &item)
{
    const QPoint p1 = Pos(item, 0);
    const QPoint p3 = Pos(item, 2);
    return Offset20(QPoint(ClampToInt((static_cast<long long>(p1.x()) + p3.x()) / 2),
                           ClampToInt((static_cast<long long>(p1.y()) + p3.y()) / 2)));
}

std::optional<QPoint> MeasureLabelAnchor(const MeasureItem &item, const DerivedGeometry &g)
{
    const QPoint p1 = Pos(item, 0);
    const QPoint p2 = Pos(item, 1);
    const QPoint p3 = Pos(item, 2);
    switch (item.kind) {
    case KindDistance2Points:
        return QPoint(std::min(p1.x(), p2.x()), ClampToInt((static_cast<long long>(p1.y()) + p2.y()) / 2));
    case KindDistanceArc:
    case KindDistanceCircles:
    case KindAreaCircle:
        return Offset20(g.center);
    case KindPerpendicular:
    case KindParallel:
    case KindBrokenLine:
    case KindAreaPolygon:
        return Offset20(p1);
    case KindAngle3Points:
    case KindAngle3PointsType2:
        return Offset20(Mean3(p1, p2, p3));
    case KindAngle2Lines:
        if (item.points.size() >= 4 && AngleLinesParallel(item))
            return ParallelAnglesAnchor(item);
        return Offset20(Mean3(p1, p3, g.center));
    case KindText:
        return p1;
    default:
        return std::nullopt;
    }
}

std::optional<QPoint> MeasureLabelAnchor(const MeasureItem &item)
{
    switch (item.kind) {
    case KindDistanceArc:
    case KindDistanceCircles:
    case KindAreaCircle:
    case KindAngle2Lines:
        return MeasureLabelAnchor(item, DeriveGeometry(item));
    default:
        // The other anchors are the item's own points.
        return MeasureLabelAnchor(item, DerivedGeometry{});
    }
}

std::optional<QPoint> DrawMeasureShape(QPainter &p, const MeasureItem &item, bool selected)
{
    if (selected)
        DrawSelectionMarks(p, item);

    const DerivedGeometry g = DeriveGeometry(item);
    const std::size_t n = item.points.size();
    const QPoint p1 = Pos(item, 0);
    const QPoint p2 = Pos(item, 1);
    const QPoint p3 = Pos(item, 2);
    switch (item.kind) {
    case KindDistance2Points:
        if (n >= 2)
            DrawSegment(p, p1, p2);
        break;
    case KindDistanceArc:
        if (n >= 3)
            DrawArcThrough3(p, item, g);
        else if (n == 2)
            DrawSegment(p, p1, p2);
        break;
    case KindDistanceCircles:
        if (n >= 3)
            DrawCircle(p, g.center, g.radius);
        if (n >= 6) {
            DrawCircle(p, g.center2, g.radius2);
            DrawSegment(p, g.center, g.center2);
        } else if (n == 5) {
            DrawSegment(p, Pos(item, 3), Pos(item, 4));
        } else if (n == 2) {
            DrawSegment(p, p1, p2);
        }
        break;
    case KindPerpendicular:
        DrawBaseLineFamily(p, item, g, false);
        break;
    case KindParallel:
    case KindStandardParallel:
        DrawBaseLineFamily(p, item, g, true);
        break;
    case KindBrokenLine:
        DrawPolyline(p, item, false);
        break;
    case KindAreaPolygon:
        DrawPolyline(p, item, true);
        break;
    case KindAreaCircle:
        if (n >= 3)
            DrawCircle(p, g.center, g.radius);
        else if (n == 2)
            DrawSegment(p, p1, p2);
        break;
    case KindAngle3Points:
    case KindAngle3PointsType2:
        if (n >= 2)
            DrawSegment(p, p1, p2);
        if (n >= 3) {
            DrawSegment(p, p2, p3);
            DrawAngleArc(p, p1, p2, p3, item.kind == KindAngle3PointsType2);
        }
        break;
    case KindAngle2Lines: {
        if (n >= 2)
            DrawSegment(p, p1, p2);
        if (n < 4)
            break;
        DrawSegment(p, p3, Pos(item, 3));
        if (AngleLinesParallel(item))
            break;
        const QPen itemPen = p.pen();
        p.setPen(DottedPen(FromQColor(itemPen.color())));
        DrawSegment(p, p1, g.center);
        DrawSegment(p, p3, g.center);
        DrawAngleArc(p, p1, g.center, p3, false);
        p.setPen(itemPen);
        break;
    }
    case KindStandardLine:
        if (n >= 2)
            DrawSegment(p, p1, p2);
        break;
    default:
        break;
    }
    return MeasureLabelAnchor(item, g);
}

}  // namespace orv
