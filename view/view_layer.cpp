#include "view/view_layer.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

#include "calib/scale_bars.h"
#include "view/painted_bounds.h"

namespace orv {
namespace {

void PaintEdit(QPainter &p, const MeasureItem &edit, const MeasureDrawOptions &opts)
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
    return a.labelMode == b.labelMode && a.faceName == b.faceName && a.suffixLanguage == b.suffixLanguage
        && a.imageSize == b.imageSize;
}

bool SameOptions(const MeasureDrawOptions &a, const MeasureDrawOptions &b)
{
    return SameLabelOptions(a, b) && a.selectedItem == b.selectedItem && a.selectionShown == b.selectionShown;
}

// As the whole-list drawing leaves the painter before its first item.
void PaintListed(QPainter &p, const MeasureItem &item, const MeasureDrawOptions &opts, LabelFontCache &fonts)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    DrawListedMeasure(p, item, opts, fonts.get(item.fontSize));
}

}  // namespace

void DrawLayer(QImage &composite, const LayerInputs &in)
{
    DrawBars(composite, in);
    if (in.list)
        DrawAllMeasures(composite, *in.list, nullptr, in.measureOptions);
}

void DrawBars(QImage &composite, const LayerInputs &in)
{
    if (in.scale && in.calibration)
        DrawScaleBars(composite, *in.scale, *in.calibration,
                      in.calibrationPage ? kCalibrationPageIndex : kCalibrationPageIndex + 1, in.barLook);
}

PaintedArea BarsArea(const QImage &like, const LayerInputs &in)
{
    if (!in.scale || !in.calibration)
        return {};
    return PaintedPieces(
        like, [&](QPainter &p) { DrawScaleBars(p, *in.scale, *in.calibration, in.calibrationPage, in.barLook); });
}

void RedrawBarsRegion(QImage &base, const QRegion &r, const LayerInputs &in)
{
    const QImage source = in.source.format() == base.format() ? in.source : in.source.convertToFormat(base.format());
    CopyRegion(source, base, r);
    if (!in.scale || !in.calibration)
        return;
    QPainter p(&base);
    p.setClipRegion(r);
    DrawScaleBars(p, *in.scale, *in.calibration, in.calibrationPage, in.barLook);
}

PaintedArea ListedItemArea(const QImage &like, const MeasureItem &item, const MeasureDrawOptions &opts)
{
    LabelFontCache fonts(opts.faceName);
    return PaintedPieces(like, [&](QPainter &p) { PaintListed(p, item, opts, fonts); });
}

std::vector<PaintedArea> ListedItemAreas(const QImage &like, const LayerInputs &in)
{
    if (!in.list)
        return {};
    LabelFontCache fonts(in.measureOptions.faceName);
    return PaintedPiecesEach(like, in.list->size(), [&](QPainter &p, std::size_t i) {
        p.save();
        PaintListed(p, in.list->at(i), in.measureOptions, fonts);
        p.restore();
    });
}

std::vector<PaintedArea> ListedItemAreas(const QImage &like, const LayerInputs &in,
                                         const std::vector<std::size_t> &only)
{
    if (!in.list)
        return {};
    LabelFontCache fonts(in.measureOptions.faceName);
    return PaintedPiecesEach(like, only.size(), [&](QPainter &p, std::size_t k) {
        p.save();
        PaintListed(p, in.list->at(only[k]), in.measureOptions, fonts);
        p.restore();
    });
}

void CopyRegion(const QImage &from, QImage &to, const QRegion &r)
{
    const QRect limit = from.rect().intersected(to.rect());
    const int depth = to.depth() / 8;
    if (from.format() != to.format() || depth < 1)
        return;
    for (const QRect &rect : r) {
        const QRect c = rect.intersected(limit);
        if (c.isEmpty())
            continue;
        const std::size_t bytes = static_cast<std::size_t>(c.width()) * static_cast<std::size_t>(depth);
        const std::size_t left = static_cast<std::size_t>(c.left()) * static_cast<std::size_t>(depth);
        for (int y = c.top(); y <= c.bottom(); ++y)
            std::memcpy(to.scanLine(y) + left, from.constScanLine(y) + left, bytes);
    }
}

namespace {

// Past this many runs of tiles an item would be drawn too many times over.
constexpr std::size_t kMaxRuns = 48;

std::vector<QRect> TileRuns(const QRegion &r)
{
    // A painter clipped to a rectangle draws a long line in a fraction of
    // the time one clipped to many rectangles takes: the region is covered
    // by runs of tiles, each redrawn with a rectangle clip.
    constexpr int kTile = 64;
    const QRect b = r.boundingRect();
    if (b.isEmpty())
        return {};
    const int tx0 = b.left() / kTile;
    const int ty0 = b.top() / kTile;
    const int cols = b.right() / kTile - tx0 + 1;
    const int rows = b.bottom() / kTile - ty0 + 1;
    std::vector<char> dirty(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows), 0);
    for (const QRect &rect : r) {
        for (int y = rect.top() / kTile - ty0; y <= rect.bottom() / kTile - ty0; ++y)
            for (int x = rect.left() / kTile - tx0; x <= rect.right() / kTile - tx0; ++x)
                dirty[static_cast<std::size_t>(y) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(x)] = 1;
    }
    std::vector<QRect> runs;
    std::vector<QRect> open;  // runs of the row above, which may grow down
    for (int y = 0; y < rows; ++y) {
        std::vector<QRect> row;
        for (int x = 0; x < cols;) {
            if (!dirty[static_cast<std::size_t>(y) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(x)]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < cols
                   && dirty[static_cast<std::size_t>(y) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(x)])
                ++x;
            row.push_back(QRect((tx0 + start) * kTile, (ty0 + y) * kTile, (x - start) * kTile, kTile));
        }
        std::vector<QRect> next;
        for (QRect run : row) {
            const auto above = std::find_if(open.begin(), open.end(), [&](const QRect &o) {
                return o.left() == run.left() && o.right() == run.right();
            });
            if (above != open.end()) {
                run.setTop(above->top());
                open.erase(above);
            }
            next.push_back(run);
        }
        runs.insert(runs.end(), open.begin(), open.end());
        open = std::move(next);
    }
    runs.insert(runs.end(), open.begin(), open.end());
    return runs;
}

}  // namespace

void RedrawLayerRegion(QImage &layer, const QImage &base, const QRegion &r, const LayerInputs &in,
                       const std::vector<PaintedArea> &areas)
{
    const QRect limit = layer.rect().intersected(base.rect());
    const QRegion c = r.intersected(limit);
    if (c.isEmpty())
        return;
    QPainter p(&layer);
    LabelFontCache fonts(in.measureOptions.faceName);
    const std::size_t n = in.list ? std::min(areas.size(), in.list->size()) : 0;
    const std::vector<QRect> runs = TileRuns(c);
    if (runs.size() > kMaxRuns) {
        // Scattered pieces (every label after a calibration): each item once,
        // clipped to the whole region.
        CopyRegion(base, layer, c);
        p.setClipRegion(c);
        const RegionIndex index(c);
        for (std::size_t i = 0; i < n; ++i) {
            if (areas[i].bounds.intersects(c.boundingRect()) && areas[i].Meets(index))
                PaintListed(p, in.list->at(i), in.measureOptions, fonts);
        }
        return;
    }
    for (const QRect &run : runs) {
        const QRect clip = run.intersected(limit);
        CopyRegion(base, layer, QRegion(clip));
        p.setClipRect(clip);
        for (std::size_t i = 0; i < n; ++i) {
            if (areas[i].bounds.intersects(clip)
                && std::any_of(areas[i].pieces.begin(), areas[i].pieces.end(),
                               [&](const PaintedPiece &piece) { return piece.rect.intersects(clip); }))
                PaintListed(p, in.list->at(i), in.measureOptions, fonts);
        }
    }
}

QRegion EditItemArea(const QImage &composite, const MeasureItem &edit, const MeasureDrawOptions &opts)
{
    std::vector<QRect> rects;
    PaintedPieces(composite, [&](QPainter &p) { PaintEdit(p, edit, opts); }).AddTo(rects);
    return RegionOf(std::move(rects));
}

QRegion DrawEditItem(QImage &composite, const MeasureItem &edit, const MeasureDrawOptions &opts)
{
    QRegion area = EditItemArea(composite, edit, opts);
    QPainter p(&composite);
    PaintEdit(p, edit, opts);
    return area;
}

bool SameForDrawing(const MeasureItem &a, const MeasureItem &b)
{
    return a.kind == b.kind && a.center == b.center && a.center2 == b.center2 && a.radius == b.radius
        && a.radius2 == b.radius2 && a.text == b.text && a.labelBox == b.labelBox && a.row == b.row
        && a.number == b.number && a.value == b.value && a.arcStart == b.arcStart && a.arcStop == b.arcStop
        && a.unit == b.unit && a.lineWidth == b.lineWidth && a.lineColor == b.lineColor && a.fontSize == b.fontSize
        && a.fontColor == b.fontColor && a.backColor == b.backColor && a.backMode == b.backMode
        && std::equal(a.points.begin(), a.points.end(), b.points.begin(), b.points.end(), SamePoint)
        && std::equal(a.subResults.begin(), a.subResults.end(), b.subResults.begin(), b.subResults.end(),
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
    return SameItems(in) && SameBars(in);
}

bool LayerSnapshot::SameBars(const LayerInputs &in) const
{
    return valid_ && in.scale == scale_ && in.calibration == calibration_ && in.calibrationPage == calibrationPage_;
}

bool LayerSnapshot::SameItems(const LayerInputs &in) const
{
    if (!valid_ || in.source.cacheKey() != sourceKey_ || !SameLabelOptions(in.measureOptions, options_))
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
    scale_ = in.scale;
    calibration_ = in.calibration;
    calibrationPage_ = in.calibrationPage;
    for (std::size_t i : items) {
        if (in.list && i < items_.size() && i < in.list->size())
            items_[i] = in.list->at(i);
    }
}

}  // namespace orv
