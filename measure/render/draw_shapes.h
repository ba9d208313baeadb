#pragma once
// The geometry of one measurement, its point markers and selection marks.

#include <QPainter>
#include <QPoint>

#include <optional>

#include "measure/derive.h"
#include "measure/measure_item.h"

namespace orv {

// Label margin of an item: line width + 2.
int LabelMargin(const MeasureItem &item);

// The frame of a placed label box: (L - m, T - m, right - m, bottom - m),
// filled white, with the current pen. It surrounds text drawn at (L, T).
void DrawLabelFrame(QPainter &p, const LabelBox &box, int margin);

// Where the label of a kind 11 item goes while its lines are parallel and its
// box is unplaced: between the two lines, beside the first point of each.
QPoint ParallelAnglesAnchor(const MeasureItem &item);

// Where the item's label goes while its box is unplaced; none for kinds 13
// and 14, which have no label. `g` is DeriveGeometry(item).
std::optional<QPoint> MeasureLabelAnchor(const MeasureItem &item, const DerivedGeometry &g);
std::optional<QPoint> MeasureLabelAnchor(const MeasureItem &item);

// Draws the item's geometry with the painter's current pen (the item pen) and,
// when selected, its marks: the label frames and the point markers. The derived
// geometry is computed from the points (DeriveGeometry). The painter's font is the item's label font (kind 12
// measures its text with it). Returns the label anchor; none for kinds 13 and
// 14, which have no label.
std::optional<QPoint> DrawMeasureShape(QPainter &p, const MeasureItem &item, bool selected);

}  // namespace orv
