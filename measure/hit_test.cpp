#include "measure/hit_test.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

#include <QString>

#include "measure/geometry.h"

namespace orv {
namespace {

constexpr unsigned kPointGrip = 5;
constexpr int kSegmentGrip = 10;
constexpr long long kCircleGrip = 9;

bool NearSegment(QPoint a, QPoint b, QPoint q)
{
    return SegmentDistance(a, b, q) < kSegmentGrip;
}

bool NearCircle(QPoint c, int r, QPoint q)
{
    const long long d = static_cast<long long>(PixelDistance(c, q)) - r;
    return std::llabs(d) <= kCircleGrip;
}

// Bounds included; a box whose bottom is 0 is not placed and never hit.
bool InsideBox(const LabelBox &b, QPoint q)
{
    return b.bottom != 0 && q.x() >= b.left && q.x() <= b.right && q.y() >= b.top &&
           q.y() <= b.bottom;
}

// Kinds 5 and 7: a point from the third on is live only while a listed
// sub-result is anchored on it (removed rows leave their point behind).
bool PointGrabbable(const MeasureItem &item, std::size_t i)
{
    if (i < 2 || (item.kind != KindPerpendicular && item.kind != KindParallel))
        return true;
    const QPoint pos = item.points[i].pos;
    for (const SubResult &s : item.subResults) {
        if (s.row >= 0 && s.pos == pos)
            return true;
    }
    return false;
}

// The k-th sub-result belongs to point k + 2; a point without one counts as
// listed (kind 14 has none at all).
bool PointListed(const MeasureItem &item, std::size_t i)
{
    const std::size_t k = i - 2;
    return k >= item.subResults.size() || item.subResults[k].row >= 0;
}

double NormalAngle(double a)
{
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    a = std::fmod(a, kTwoPi);
    return a < 0.0 ? a + kTwoPi : a;
}

// On the drawn arc: outside the open interval from arcStart to arcStop,
// taken round the circle (an interval may wrap past 0).
bool OnArc(const MeasureItem &item, QPoint q)
{
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    const double start = NormalAngle(item.arcStart);
    double stop = NormalAngle(item.arcStop);
    if (stop < start)
        stop += kTwoPi;
    const double a = NormalAngle(std::atan2(static_cast<double>(q.y()) - item.center.y(),
                                            static_cast<double>(q.x()) - item.center.x()));
    const bool inside = (start < a && a < stop) || (start < a + kTwoPi && a + kTwoPi < stop);
    return !inside;
}

bool NearPolyline(const MeasureItem &item, QPoint q, bool closed)
{
    const auto &pts = item.points;
    for (std::size_t i = 1; i < pts.size(); ++i) {
        if (NearSegment(pts[i - 1].pos, pts[i].pos, q))
            return true;
    }
    return closed && pts.size() > 1 && NearSegment(pts.back().pos, pts.front().pos, q);
}

bool NearBaseLineFamily(const MeasureItem &item, QPoint q)
{
    const auto &pts = item.points;
    if (pts.size() < 2)
        return false;
    const QPoint p1 = pts[0].pos;
    const QPoint p2 = pts[1].pos;
    if (NearSegment(p1, p2, q))
        return true;
    const bool parallel = item.kind != KindPerpendicular;
    for (std::size_t i = 2; i < pts.size(); ++i) {
        if (!PointListed(item, i))
            continue;
        const MeasurePoint &pt = pts[i];
        if (NearSegment(pt.pos, pt.foot, q) || NearSegment(p1, pt.foot, q) ||
            NearSegment(p2, pt.foot, q))
            return true;
        if (parallel && NearSegment(pt.lineStart, pt.lineEnd, q))
            return true;
    }
    return false;
}

bool NearTwoSegments(const MeasureItem &item, QPoint q, std::size_t a, std::size_t b,
                     std::size_t c, std::size_t d)
{
    const auto &pts = item.points;
    if (b < pts.size() && NearSegment(pts[a].pos, pts[b].pos, q))
        return true;
    return d < pts.size() && NearSegment(pts[c].pos, pts[d].pos, q);
}

bool InsideTextBox(const MeasureItem &item, QPoint q)
{
    if (item.points.empty())
        return false;
    const QPoint p1 = item.points[0].pos;
    const long long right =
        p1.x() + static_cast<long long>(item.fontSize) * TextCellCount(item.text) / 2;
    const long long bottom = static_cast<long long>(p1.y()) + item.fontSize;
    return q.x() >= p1.x() && q.x() <= right && q.y() >= p1.y() && q.y() <= bottom;
}

bool OnStroke(const MeasureItem &item, QPoint q)
{
    switch (item.kind) {
    case KindDistance2Points:
    case KindStandardLine:
        return NearTwoSegments(item, q, 0, 1, 0, 1);
    case KindDistanceArc:
        return NearCircle(item.center, item.radius, q) && OnArc(item, q);
    case KindDistanceCircles:
        return NearCircle(item.center, item.radius, q) || NearCircle(item.center2, item.radius2, q);
    case KindPerpendicular:
    case KindParallel:
    case KindStandardParallel:
        return NearBaseLineFamily(item, q);
    case KindBrokenLine:
        return NearPolyline(item, q, false);
    case KindAreaPolygon:
        return NearPolyline(item, q, true);
    case KindAreaCircle:
        return NearCircle(item.center, item.radius, q);
    case KindAngle3Points:
    case KindAngle3PointsType2:
        return NearTwoSegments(item, q, 0, 1, 1, 2);
    case KindAngle2Lines:
        return NearTwoSegments(item, q, 0, 1, 2, 3);
    case KindText:
        return InsideTextBox(item, q);
    default:
        return false;
    }
}

bool HasLabel(std::uint32_t kind)
{
    return (kind >= KindDistance2Points && kind <= KindAngle2Lines) || kind == KindAngle3PointsType2;
}

}  // namespace

int TextCellCount(const std::string &utf8)
{
    int cells = 0;
    for (const char32_t c : QString::fromStdString(utf8).toStdU32String()) {
        const bool narrow = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
        cells += narrow ? 1 : 2;
    }
    return cells;
}

MeasureHit HitTestMeasure(const MeasureItem &item, QPoint q)
{
    for (std::size_t i = 0; i < item.points.size(); ++i) {
        if (PixelDistance(q, item.points[i].pos) < kPointGrip && PointGrabbable(item, i))
            return {true, static_cast<int>(i), -1};
    }

    if (HasLabel(item.kind)) {
        if (item.kind == KindPerpendicular || item.kind == KindParallel) {
            for (std::size_t k = 0; k < item.subResults.size(); ++k) {
                const SubResult &s = item.subResults[k];
                if (s.row >= 0 && InsideBox(s.labelBox, q))
                    return {true, HitSubResultLabel, static_cast<int>(k)};
            }
        } else if (InsideBox(item.labelBox, q)) {
            return {true, HitLabel, -1};
        }
    }

    if (OnStroke(item, q))
        return {true, HitStroke, -1};
    return {};
}

}  // namespace orv
