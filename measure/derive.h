#pragma once
// The geometry a measurement derives from its placed points: circle centres
// and radii, the ordered arc points and arc angles, feet of perpendiculars,
// parallel lines and the intersection of two lines. Values, hit testing and
// drawing all read it; it is a pure function of the item.

#include <QPoint>

#include <array>
#include <vector>

#include "measure/measure_item.h"

namespace orv {

// Marks the missing intersection of two parallel lines (kind 11) where the
// item stores its vertex.
inline constexpr QPoint kParallelMarker{999, 999};

struct DerivedPoint {
    QPoint foot;
    QPoint lineStart;
    QPoint lineEnd;
};

struct DerivedGeometry {
    QPoint center;
    QPoint center2;
    int radius = 0;
    int radius2 = 0;
    double arcStart = 0.0;
    double arcStop = 0.0;
    // One entry per item point for the kinds that derive points (3, 5, 7,
    // 14); empty for the others, whose points keep what they hold.
    std::vector<DerivedPoint> points;
    // What the values are taken from; the fields above are drawn.
    ExactGeometry exact;
};

// Starts from the item's stored geometry, so what a kind does not derive (and
// the circle of collinear points) keeps its previous value.
DerivedGeometry DeriveGeometry(const MeasureItem &item);
void ApplyDerivedGeometry(MeasureItem &item, const DerivedGeometry &g);
// ApplyDerivedGeometry(item, DeriveGeometry(item)).
void UpdateDerivedGeometry(MeasureItem &item);

// The two halves of a kind 3 arc, each drawn counter-clockwise on screen from
// `from` to `to` around the circle.
struct ArcHalf {
    QPoint from;
    QPoint to;
};
struct ArcThrough3 {
    QPoint s, m, e;  // ends of the longest chord and the middle point
    std::array<ArcHalf, 2> halves;
};
// The arc through three points around c. Each half sets one of arcStart and
// arcStop (the angle of its end about c, in image coordinates), so the arc
// runs counter-clockwise on screen from arcStart to arcStop.
ArcThrough3 ArcThroughPoints(QPoint p1, QPoint p2, QPoint p3, QPointF c, double &arcStart,
                             double &arcStop);

// Kind 11 with four points whose lines never meet.
bool AngleLinesParallel(const MeasureItem &item);
// False while the item has no value to show (parallel lines of kind 11):
// its row and label then show no number.
bool HasMeasureValue(const MeasureItem &item);

}  // namespace orv
