#include "app/view_layer.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

#include "app/painted_bounds.h"
#include "calib/scale_bars.h"

namespace orv {
namespace {

void PaintEdit(QPainter &p, MeasureItem &edit, const MeasureDrawOptions &opts)
{
    // As the whole-list drawing leaves the painter before its edit item.
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawEditMeasure(p, edit, opts);
}

bool SamePoint(const MeasurePoint &a, const MeasurePoint &b)
{
    return a.pos == b.pos && a.foot == b.foot && a.lineStart == b.lineStart && a.lineEnd == b.lineEnd;
}

bool SameSubResult(const SubResult &a, const SubResult &b)
{
    return a.text == b.text && a.labelBox == b.labelBox && a.row == b.row && a.pos == b.pos && a.kind == b.kind;
}

// The options every item is drawn with, the selection aside.
bool SameLabelOptions(const MeasureDrawOptions &a, const MeasureDrawOptions &b)
{
    return a.labelMode == b.labelMode && a.faceName == b.faceName && a.suffixLanguage == b.suffixLanguage;
}

bool SameOptions(const MeasureDrawOptions &a, const MeasureDrawOptions &b)
{
    return SameLabelOptions(a, b) && a.selectedItem == b.selectedItem && a.selectionShown == b.selectionShown;
}

// As the whole-list drawing leaves the painter before its first item.
void PaintListed(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts,
                 std::vector<PlacedLabel> *placed, std::size_t index)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    std::optional<PlacedLabel> label = DrawListedMeasure(p, item, opts);
    if (label && placed) {
        label->index = index;
        placed->push_back(std::move(*label));
    }
}

}  // namespace

void DrawLayer(QImage &composite, const LayerInputs &in)
{
    DrawBars(composite, in);
    if (in.list)
        ApplyPlacedLabels(*in.list, DrawAllMeasures(composite, *in.list, nullptr, in.measureOptions));
}

void DrawBars(QImage &composite, const LayerInputs &in)
{
    if (in.scale && in.calibration)
        DrawScaleBars(composite, *in.scale, *in.calibration,
                      in.calibrationPage ? kCalibrationPageIndex : kCalibrationPageIndex + 1);
}

QRect ListedItemBounds(const QImage &like, const MeasureItem &item, const MeasureDrawOptions &opts)
{
    return PaintedBounds(like, [&](QPainter &p) { PaintListed(p, item, opts, nullptr, 0); });
}

std::vector<QRect> ListedItemBounds(const QImage &like, const LayerInputs &in)
{
    if (!in.list)
        return {};
    return PaintedBoundsEach(like, in.list->size(), [&](QPainter &p, std::size_t i) {
        p.save();
        PaintListed(p, in.list->at(i), in.measureOptions, nullptr, 0);
        p.restore();
    });
}

std::vector<PlacedLabel> RedrawLayerRect(QImage &layer, const QImage &base, const QRect &r, const LayerInputs &in,
                                         const std::vector<QRect> &bounds)
{
    std::vector<PlacedLabel> placed;
    const QRect c = r.intersected(layer.rect()).intersected(base.rect());
    if (c.isEmpty())
        return placed;
    const std::size_t bytes = static_cast<std::size_t>(c.width()) * 4;
    for (int y = c.top(); y <= c.bottom(); ++y)
        std::memcpy(layer.scanLine(y) + static_cast<std::size_t>(c.left()) * 4,
                    base.constScanLine(y) + static_cast<std::size_t>(c.left()) * 4, bytes);
    if (!in.list)
        return placed;
    QPainter p(&layer);
    p.setClipRect(c);
    const std::size_t n = std::min(bounds.size(), in.list->size());
    for (std::size_t i = 0; i < n; ++i) {
        if (bounds[i].intersects(c))
            PaintListed(p, in.list->at(i), in.measureOptions, &placed, i);
    }
    return placed;
}

QRect EditItemBounds(const QImage &composite, MeasureItem &edit, const MeasureDrawOptions &opts)
{
    return PaintedBounds(composite, [&](QPainter &p) { PaintEdit(p, edit, opts); }).intersected(composite.rect());
}

QRect DrawEditItem(QImage &composite, MeasureItem &edit, const MeasureDrawOptions &opts)
{
    const QRect bounds = EditItemBounds(composite, edit, opts);
    QPainter p(&composite);
    PaintEdit(p, edit, opts);
    return bounds;
}

bool SameForDrawing(const MeasureItem &a, const MeasureItem &b)
{
    return a.kind == b.kind && a.center == b.center && a.center2 == b.center2 && a.radius == b.radius &&
           a.radius2 == b.radius2 && a.text == b.text && a.labelBox == b.labelBox && a.row == b.row &&
           a.number == b.number && a.value == b.value && a.arcStart == b.arcStart && a.arcStop == b.arcStop &&
           a.unit == b.unit && a.lineWidth == b.lineWidth && a.lineColor == b.lineColor &&
           a.fontSize == b.fontSize && a.fontColor == b.fontColor && a.backColor == b.backColor &&
           a.backMode == b.backMode &&
           std::equal(a.points.begin(), a.points.end(), b.points.begin(), b.points.end(), SamePoint) &&
           std::equal(a.subResults.begin(), a.subResults.end(), b.subResults.begin(), b.subResults.end(),
                      SameSubResult);
}

void LayerSnapshot::Take(const LayerInputs &in)
{
    valid_ = true;
    sourceKey_ = in.source.cacheKey();
    scale_ = in.scale;
    calibration_ = in.calibration;
    calibrationPage_ = in.calibrationPage;
    options_ = in.measureOptions;
    addresses_.clear();
    items_.clear();
    if (in.list) {
        addresses_.reserve(in.list->size());
        items_.reserve(in.list->size());
        for (const auto &item : *in.list) {
            addresses_.push_back(item.get());
            items_.push_back(*item);
        }
    }
}

void LayerSnapshot::Clear()
{
    valid_ = false;
    addresses_.clear();
    items_.clear();
}

bool LayerSnapshot::Matches(const LayerInputs &in) const
{
    if (!SameFrame(in) || !SameOptions(in.measureOptions, options_))
        return false;
    const std::size_t n = items_.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!SameForDrawing(in.list->at(i), items_[i]))
            return false;
    }
    return true;
}

bool LayerSnapshot::SameFrame(const LayerInputs &in) const
{
    if (!valid_ || in.source.cacheKey() != sourceKey_ || in.scale != scale_ || in.calibration != calibration_ ||
        in.calibrationPage != calibrationPage_ || !SameLabelOptions(in.measureOptions, options_))
        return false;
    const std::size_t n = in.list ? in.list->size() : 0;
    if (n != items_.size())
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (&in.list->at(i) != addresses_[i])
            return false;
    }
    return true;
}

std::vector<std::size_t> LayerSnapshot::ChangedItems(const LayerInputs &in) const
{
    std::vector<std::size_t> changed;
    const std::size_t n = std::min(items_.size(), in.list ? in.list->size() : 0);
    for (std::size_t i = 0; i < n; ++i) {
        const MeasureItem &item = in.list->at(i);
        // The addresses are the same (SameFrame): the old selection is judged
        // on the item itself.
        if (options_.isSelected(item) != in.measureOptions.isSelected(item) || !SameForDrawing(item, items_[i]))
            changed.push_back(i);
    }
    return changed;
}

void LayerSnapshot::Retake(const LayerInputs &in, const std::vector<std::size_t> &items)
{
    options_ = in.measureOptions;
    for (std::size_t i : items) {
        if (in.list && i < items_.size() && i < in.list->size())
            items_[i] = in.list->at(i);
    }
}

}  // namespace orv
