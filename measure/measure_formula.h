#pragma once
// The numbers a measurement shows as one function of its points and scales.
// Values and their uncertainties both come from it, so they cannot disagree.

#include <QPointF>

#include <optional>
#include <vector>

#include "measure/measure_item.h"

namespace orv {

// Where each number sits in a formula's outputs. Output 0 is the item's
// value; perpendicular and parallel items follow with one distance per point
// from the third on; a circle's area follows with its diameters, radii and
// circumference.
enum CircleOutput : std::size_t {
    CircleArea = 0,
    CircleDiameterH = 1,
    CircleDiameterV = 2,
    CircleRadiusH = 3,
    CircleRadiusV = 4,
    CirclePerimeter = 5,
    CircleOutputCount = 6,
};
inline std::size_t FootOutput(std::size_t pointIndex)
{
    return pointIndex - 1;  // point 2 gives output 1
}

// Clicked points of an item in the order its formula reads them. An arc
// reads its points as start, middle and end of the drawn arc.
std::vector<QPointF> FormulaPoints(const MeasureItem &item);

// The geometry the points make, without any rounding. Circles and vertices
// that the points do not make keep what `previous` holds.
ExactGeometry FormulaGeometry(MeasureKind kind, const std::vector<QPointF> &points,
                              const ExactGeometry &previous);

// The outputs for the points, their geometry and the length per pixel on
// each axis; empty for kinds without a value and for items missing points.
std::vector<double> EvaluateFormula(MeasureKind kind, const std::vector<QPointF> &points,
                                    const ExactGeometry &geometry, double sx, double sy);

// Included angle at the vertex, 0..180 degrees.
double IncludedAngle(QPointF first, QPointF vertex, QPointF third);

}  // namespace orv
