#pragma once
// Where an item's labels go: the boxes a label takes the first time it is
// drawn selected (and the point labels of kinds 5 and 7 in detail mode). A
// pure function of the item and the draw options, measured in the label font
// the drawing uses, so the model can hold the boxes before anything is drawn.

#include <vector>

#include "measure/measure_item.h"
#include "measure/render/draw_measures.h"

namespace orv {

struct LabelLayout {
    LabelBox box;
    // One box per sub-result, in order.
    std::vector<LabelBox> subResults;

    bool operator==(const LabelLayout &) const = default;
};

// The label boxes of a listed item drawn with `opts`; boxes the drawing does
// not place keep what the item holds.
LabelLayout LayOutLabels(const MeasureItem &item, const MeasureDrawOptions &opts);
// Takes the layout over; true when a box changed.
bool ApplyLabelLayout(MeasureItem &item, const MeasureDrawOptions &opts);

// The box of a label drawn at rectangle r with margin m: kept at (L, T) with
// the margin added right and down (an unplaced box), or grown by m on every
// side (a box placed before and marked for re-measuring).
LabelBox ExtendedLabelBox(const LabelBox &r, int m);
LabelBox WidenedLabelBox(const LabelBox &r, int m);

// An item's own label (with its detail lines under it) or one of its point labels.
enum class LabelOf { Item, Point };

// The shift that brings a label whose text is drawn at `pos`, `width` wide,
// wholly inside opts.imageSize together with its frame (and detail lines):
// left or up, right or down, on each axis where it fits.
QPoint LabelFitShift(const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which, QPoint pos, int width);
// A placed box moved by that shift (its label is drawn at its top left).
LabelBox FittedLabelBox(const MeasureItem &item, const MeasureDrawOptions &opts, LabelOf which, const LabelBox &box);

}  // namespace orv
