#include "document/item_merge.h"

#include <algorithm>
#include <vector>

#include "measure/derive.h"
#include "measure/hit_test.h"

namespace orv {

namespace {

bool AnchorsFollowPoints(std::uint32_t kind)
{
    return kind == KindPerpendicular || kind == KindParallel || kind == KindStandardParallel;
}

}  // namespace

void ShiftLabelBox(LabelBox &box, QPoint d)
{
    if (box.bottom == 0)
        return;
    box.left += d.x();
    box.top += d.y();
    box.right += d.x();
    if (box.bottom > 0)
        box.bottom = box.bottom + d.y() > 0 ? box.bottom + d.y() : -1;
}

void MergeDraggedPoint(MeasureItem &s, const MeasureItem &c)
{
    s.points = c.points;
    s.center = c.center;
    s.center2 = c.center2;
    s.radius = c.radius;
    s.radius2 = c.radius2;
    s.exact = c.exact;
    // The labels go back to their anchors.
    s.labelBox.bottom = 0;
    if (AnchorsFollowPoints(s.kind)) {
        for (std::size_t k = 0; k < s.subResults.size(); ++k) {
            if (k + 2 < s.points.size())
                s.subResults[k].pos = s.points[k + 2].pos;
            s.subResults[k].labelBox.bottom = 0;
        }
    }
}

void MergeMovedClone(MeasureItem &s, const MeasureItem &c, int hitCode, int hitSubResult)
{
    if (hitCode == HitStroke) {
        const std::size_t n = std::min(s.points.size(), c.points.size());
        std::vector<QPoint> moved(n);
        for (std::size_t i = 0; i < n; ++i) {
            moved[i] = c.points[i].pos - s.points[i].pos;
            s.points[i].pos = c.points[i].pos;
        }
        if (AnchorsFollowPoints(s.kind)) {
            // The k-th sub-result belongs to the k-th point from the third on.
            for (std::size_t k = 0; k < s.subResults.size() && k + 2 < n; ++k) {
                s.subResults[k].pos = s.points[k + 2].pos;
                ShiftLabelBox(s.subResults[k].labelBox, moved[k + 2]);
            }
        } else if (n > 0) {
            ShiftLabelBox(s.labelBox, moved[n - 1]);
        }
        // Hit testing reads the centres, arcs and feet at the new place.
        UpdateDerivedGeometry(s);
    } else if (hitCode == HitLabel) {
        if (c.labelBox.bottom != 0)
            s.labelBox = c.labelBox;
    } else if (hitCode == HitSubResultLabel) {
        if (c.labelBox.bottom != 0 && hitSubResult >= 0 &&
            hitSubResult < static_cast<int>(s.subResults.size())) {
            LabelBox &box = s.subResults[static_cast<std::size_t>(hitSubResult)].labelBox;
            box = c.labelBox;
            // Re-measured at the next drawing.
            box.bottom = -1;
        }
    }
}

}  // namespace orv
