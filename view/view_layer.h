#pragma once
// The cached layer of the composite: the image with the calibration bars, the
// standard scale and every listed measurement drawn over it. Only the edit
// item (the item being placed or the clone being dragged) is drawn on top of
// it. The layer remembers what it was drawn from, so it is reused only while
// all of that is unchanged.

#include <QImage>
#include <QRect>
#include <QRegion>

#include <optional>
#include <vector>

#include "calib/scale_bars.h"
#include "calib/scale_setting.h"
#include "calib/standard_scale.h"
#include "measure/measure_item.h"
#include "measure/render/draw_measures.h"
#include "view/painted_bounds.h"

namespace orv {

// Everything the layer is drawn from.
struct LayerInputs {
    QImage source;
    const MeasureList *list = nullptr;
    MeasureDrawOptions measureOptions;
    // Both absent when there is no calibration page: no bars are drawn.
    std::optional<StandardScale> scale;
    std::optional<ScaleSetting> calibration;
    bool calibrationPage = false;
    BarLook barLook = BarLook::OnScreen;
};

// Draws the bars and the listed measurements into a copy of the source.
void DrawLayer(QImage &composite, const LayerInputs &in);
// Only the bars (what every redrawn part of the layer starts from).
void DrawBars(QImage &composite, const LayerInputs &in);
// Where the bars can put pixels.
PaintedArea BarsArea(const QImage &like, const LayerInputs &in);
// Redraws the region r of the bars' image: the pixels of the source, then the
// bars clipped to r.
void RedrawBarsRegion(QImage &base, const QRegion &r, const LayerInputs &in);
// Where each listed item's drawing (as the whole-list drawing does it) can
// put pixels, by list position; with `only`, just those positions.
std::vector<PaintedArea> ListedItemAreas(const QImage &like, const LayerInputs &in);
std::vector<PaintedArea> ListedItemAreas(const QImage &like, const LayerInputs &in,
                                         const std::vector<std::size_t> &only);
PaintedArea ListedItemArea(const QImage &like, const MeasureItem &item, const MeasureDrawOptions &opts);
// Redraws the region r of the layer: the pixels of base (the source with
// the bars), then every listed item whose area meets r, in list order,
// clipped to r.
void RedrawLayerRegion(QImage &layer, const QImage &base, const QRegion &r, const LayerInputs &in,
                       const std::vector<PaintedArea> &areas);
// Copies the region r of one image into another of the same size.
void CopyRegion(const QImage &from, QImage &to, const QRegion &r);
// Draws the edit item over the composite; returns the region it can have
// changed, clipped to the composite.
QRegion DrawEditItem(QImage &composite, const MeasureItem &edit, const MeasureDrawOptions &opts);
// The region the edit item would change, without drawing it.
QRegion EditItemArea(const QImage &composite, const MeasureItem &edit, const MeasureDrawOptions &opts);

// What a layer was drawn from, compared field by field.
class LayerSnapshot {
public:
    void Take(const LayerInputs &in);
    void Clear();
    bool Matches(const LayerInputs &in) const;
    // All but the items' contents and the selection match: the same image,
    // bars and label options, the same items in the same order.
    bool SameFrame(const LayerInputs &in) const;
    // The same image, label options and items in the same order; the bars
    // may differ.
    bool SameItems(const LayerInputs &in) const;
    bool SameBars(const LayerInputs &in) const;
    // Positions of the items that draw differently now (contents changed, or
    // selected then and not now or the reverse). Only after SameItems.
    std::vector<std::size_t> ChangedItems(const LayerInputs &in) const;
    // Takes the options, the bars and the given items anew (they are redrawn
    // now).
    void Retake(const LayerInputs &in, const std::vector<std::size_t> &items);

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
