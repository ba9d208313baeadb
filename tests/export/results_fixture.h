#pragma once
// Builds measurement lists for the results-table and CSV tests.

#include "measure/measure_item.h"
#include "measure/units.h"
#include "export/results_table.h"

namespace orv::test {

// Appends an item of the given kind with `subs` sub-results and lists it.
inline MeasureItem &ListItem(MeasureList &list, ResultsTable &table, MeasureKind kind,
                             double value, int unit, int subs = 0)
{
    auto owned = NewMeasureItem();
    owned->kind = kind;
    owned->value = value;
    owned->unit = unit;
    const int subKind = kind == KindPerpendicular ? KindPerpendicularPart
                        : kind == KindParallel   ? KindParallelPart
                                                 : KindRadius;
    for (int i = 0; i < subs; ++i)
        AppendSubResult(*owned, std::to_string(i + 1) + ".00mm", subKind, 0, QPoint(i, i));
    MeasureItem &item = *owned;
    item.number = list.Append(std::move(owned));
    table.AddMeasureRows(item);
    return item;
}

}  // namespace orv::test
