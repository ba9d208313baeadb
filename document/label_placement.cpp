// Label boxes: taken over from the layout before the list is drawn, so that
// drawing reads the items and never writes them.
#include "document/measure_document.h"

#include "measure/render/draw_measures.h"
#include "measure/render/label_layout.h"

namespace orv {

bool MeasureDocument::PlaceLabels(const MeasureDrawOptions &opts)
{
    bool changed = false;
    for (const auto &item : list_)
        changed = ApplyLabelLayout(*item, opts) || changed;
    if (changed)
        emit labelsPlaced();
    return changed;
}

}  // namespace orv
