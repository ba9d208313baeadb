#pragma once
// The cached layer of the composite: the image with the calibration bars, the
// standard scale and every listed measurement drawn over it. Only the edit
// item (the item being placed or the clone being dragged) is drawn on top of
// it. The layer remembers what it was drawn from, so it is reused only while
// all of that is unchanged.

#include <QImage>
#include <QRect>

#include <optional>
#include <vector>

#include "measure_item.h"
#include "render/draw_measures.h"
#include "scale_setting.h"
#include "standard_scale.h"

namespace orv {

// Everything the layer is drawn from.
struct LayerInputs {
    QImage source;
    MeasureList *list = nullptr;
    MeasureDrawOptions measureOptions;
    // Both absent when there is no calibration page: no bars are drawn.
    std::optional<StandardScale> scale;
    std::optional<ScaleSetting> calibration;
    bool calibrationPage = false;
};

// Draws the bars and the listed measurements into a copy of the source.
void DrawLayer(QImage &composite, const LayerInputs &in);
// Draws the edit item over the composite; returns the rectangle it can have
// changed, clipped to the composite.
QRect DrawEditItem(QImage &composite, MeasureItem &edit, const MeasureDrawOptions &opts);
// The rectangle the edit item would change, without drawing it.
QRect EditItemBounds(const QImage &composite, MeasureItem &edit, const MeasureDrawOptions &opts);

// What a layer was drawn from, compared field by field (the label boxes a
// drawing placed are written into the items: a layer whose drawing changed
// them no longer matches).
class LayerSnapshot {
public:
    void Take(const LayerInputs &in);
    void Clear();
    bool Matches(const LayerInputs &in) const;

private:
    bool valid_ = false;
    qint64 sourceKey_ = 0;
    std::optional<StandardScale> scale_;
    std::optional<ScaleSetting> calibration_;
    bool calibrationPage_ = false;
    MeasureDrawOptions options_;
    std::vector<const MeasureItem *> addresses_;
    std::vector<MeasureItem> items_;
};

// True when two items draw the same (every field drawing reads or writes).
bool SameForDrawing(const MeasureItem &a, const MeasureItem &b);

}  // namespace orv
