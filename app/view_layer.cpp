#include "view_layer.h"

#include <QPainter>

#include <algorithm>

#include "painted_bounds.h"
#include "scale_bars.h"

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

bool SameOptions(const MeasureDrawOptions &a, const MeasureDrawOptions &b)
{
    return a.labelMode == b.labelMode && a.faceName == b.faceName && a.suffixLanguage == b.suffixLanguage &&
           a.selectedItem == b.selectedItem && a.selectionShown == b.selectionShown;
}

}  // namespace

void DrawLayer(QImage &composite, const LayerInputs &in)
{
    if (in.scale && in.calibration)
        DrawScaleBars(composite, *in.scale, *in.calibration,
                      in.calibrationPage ? kCalibrationPageIndex : kCalibrationPageIndex + 1);
    if (in.list)
        ApplyPlacedLabels(*in.list, DrawAllMeasures(composite, *in.list, nullptr, in.measureOptions));
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
    if (!valid_ || in.source.cacheKey() != sourceKey_ || in.scale != scale_ || in.calibration != calibration_ ||
        in.calibrationPage != calibrationPage_ || !SameOptions(in.measureOptions, options_))
        return false;
    const std::size_t n = in.list ? in.list->size() : 0;
    if (n != items_.size())
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const MeasureItem &item = in.list->at(i);
        if (&item != addresses_[i] || !SameForDrawing(item, items_[i]))
            return false;
    }
    return true;
}

}  // namespace orv
