#pragma once
// How a dragged copy of a measurement is written back into the listed item.

#include <QPoint>

#include "measure/measure_item.h"

namespace orv {

// Moves a label box by d. An unplaced box (bottom 0) stays where it is; a box
// waiting to be re-measured (bottom negative) keeps that mark; a placed box
// that would leave the image upwards keeps its place as a box to re-measure.
void ShiftLabelBox(LabelBox &box, QPoint d);

// A point drag: the copy's points and circles go back, the labels return to
// their anchors.
void MergeDraggedPoint(MeasureItem &source, const MeasureItem &clone);

// A move of the whole stroke or of one label (hitCode from HitTestMeasure).
void MergeMovedClone(MeasureItem &source, const MeasureItem &clone, int hitCode, int hitSubResult);

}  // namespace orv
