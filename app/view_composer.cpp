#include "app/view_composer.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace orv {
namespace {

void CopyRect(const QImage &from, QImage &to, const QRect &r)
{
    const QRect c = r.intersected(from.rect()).intersected(to.rect());
    if (c.isEmpty())
        return;
    const std::size_t bytes = static_cast<std::size_t>(c.width()) * 4;
    for (int y = c.top(); y <= c.bottom(); ++y)
        std::memcpy(to.scanLine(y) + static_cast<std::size_t>(c.left()) * 4,
                    from.constScanLine(y) + static_cast<std::size_t>(c.left()) * 4, bytes);
}

// Makes `to` a copy of `from`, into its own pixels when it has the same size
// and format and nobody shares them: filling fresh memory of a large image
// costs more than drawing on it.
void CopyInto(const QImage &from, QImage &to)
{
    if (to.isNull() || to.size() != from.size() || to.format() != from.format() || !to.isDetached()) {
        to = from.copy();
        return;
    }
    const std::size_t bytes = static_cast<std::size_t>(std::min(from.bytesPerLine(), to.bytesPerLine()));
    for (int y = 0; y < from.height(); ++y)
        std::memcpy(to.scanLine(y), from.constScanLine(y), bytes);
}

}  // namespace

QImage ViewComposer::BuildComposite(const QImage &source, const std::function<void(QImage &)> &drawOver)
{
    if (source.isNull())
        return {};
    QImage composite = source.convertToFormat(QImage::Format_RGB32);
    // convertToFormat shares the data when the format already matches; the
    // composite must never write into the source.
    composite.detach();
    if (drawOver)
        drawOver(composite);
    return composite;
}

void ViewComposer::Compose(QImage &composite, const LayerInputs &in, MeasureItem *edit)
{
    itemBounds_.clear();
    snapshot_.Clear();
    editBounds_ = QRect();
    if (in.source.isNull()) {
        composite = QImage();
        layer_ = QImage();
        base_ = QImage();
        composedKey_ = composite.cacheKey();
        return;
    }
    // Taken before drawing: a drawing that places labels changes the items,
    // and the next drawing of them can differ (a frame drawn first instead of
    // over the line). Such items are drawn again at the next composition.
    snapshot_.Take(in);
    // The images keep their memory while the size stays; otherwise the old
    // ones are given up before the new ones are made.
    const QImage::Format format = QImage::Format_RGB32;
    if (base_.size() != in.source.size()) {
        composite = QImage();
        layer_ = QImage();
        base_ = QImage();
    }
    if (in.source.format() == format)
        CopyInto(in.source, base_);
    else
        base_ = BuildComposite(in.source, {});
    DrawBars(base_, in);
    itemBounds_ = ListedItemBounds(base_, in);
    CopyInto(base_, layer_);
    if (in.list)
        ApplyPlacedLabels(*in.list, DrawAllMeasures(layer_, *in.list, nullptr, in.measureOptions));
    // A buffer of its own: later patches copy rectangles, never the image.
    CopyInto(layer_, composite);
    if (edit)
        editBounds_ = DrawEditItem(composite, *edit, in.measureOptions);
    composedKey_ = composite.cacheKey();
}

bool ViewComposer::Reusable(const QImage &composite) const
{
    return !composite.isNull() && !layer_.isNull() && !base_.isNull() && composite.cacheKey() == composedKey_ &&
           composite.size() == layer_.size() && composite.format() == layer_.format();
}

void ViewComposer::RedrawEdit(QImage &composite, const LayerInputs &in, MeasureItem *edit,
                              const std::vector<QRect> &restored)
{
    QRect changed = editBounds_;
    CopyRect(layer_, composite, editBounds_);
    for (const QRect &r : restored) {
        CopyRect(layer_, composite, r);
        changed = changed.united(r);
    }
    const QRect newBounds = edit ? DrawEditItem(composite, *edit, in.measureOptions) : QRect();
    changed = changed.united(newBounds);
    editBounds_ = newBounds;
    const qint64 before = composedKey_;
    composedKey_ = composite.cacheKey();
    // The picture made from the previous composite needs only these pixels.
    if (!cached_.isNull() && key_ == before) {
        key_ = composedKey_;
        pendingDirty_ = pendingDirty_.united(changed);
    }
}

bool ViewComposer::ComposeEdit(QImage &composite, const LayerInputs &in, MeasureItem *edit)
{
    if (!Reusable(composite) || !snapshot_.Matches(in)) {
        Compose(composite, in, edit);
        return false;
    }
    RedrawEdit(composite, in, edit, {});
    ++editCompositions_;
    return true;
}

ViewComposer::Composition ViewComposer::Recompose(QImage &composite, const LayerInputs &in, MeasureItem *edit)
{
    std::vector<std::size_t> changed;
    const bool reusable = Reusable(composite) && snapshot_.SameFrame(in);
    if (reusable)
        changed = snapshot_.ChangedItems(in);
    // Past a quarter of the items a patch costs about what a rebuild does.
    const std::size_t n = in.list ? in.list->size() : 0;
    if (!reusable || itemBounds_.size() != n || changed.size() * 4 > n + 4) {
        Compose(composite, in, edit);
        return Composition::Full;
    }
    if (changed.empty()) {
        snapshot_.Retake(in, changed);
        RedrawEdit(composite, in, edit, {});
        ++editCompositions_;
        return Composition::EditOnly;
    }
    // Each changed item's old and new place; overlapping places are one.
    std::vector<QRect> rects;
    for (std::size_t i : changed) {
        const QRect now = ListedItemBounds(layer_, in.list->at(i), in.measureOptions);
        QRect r = itemBounds_[i].united(now).intersected(layer_.rect());
        itemBounds_[i] = now;
        if (r.isEmpty())
            continue;
        for (bool merged = true; merged;) {
            merged = false;
            for (auto it = rects.begin(); it != rects.end(); ++it) {
                if (it->intersects(r)) {
                    r = r.united(*it);
                    rects.erase(it);
                    merged = true;
                    break;
                }
            }
        }
        rects.push_back(r);
    }
    snapshot_.Retake(in, changed);
    std::vector<PlacedLabel> placed;
    for (const QRect &r : rects) {
        std::vector<PlacedLabel> more = RedrawLayerRect(layer_, base_, r, in, itemBounds_);
        placed.insert(placed.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    ApplyPlacedLabels(*in.list, placed);
    RedrawEdit(composite, in, edit, rects);
    ++editCompositions_;
    ++patches_;
    return Composition::Patched;
}

QRect ViewComposer::PendingViewRegion(const QImage &composite, const ViewGeometry &geo)
{
    const QRect src = VisibleSource(composite, geo);
    if (cached_.isNull() || key_ != composite.cacheKey() || source_ != src || target_ != geo.size)
        return QRect(QPoint(0, 0), geo.size);
    if (pendingDirty_.isEmpty())
        return {};
    return scaler_.AffectedRegion(src, cached_.size(), pendingDirty_);
}

QRect ViewComposer::VisibleSource(const QImage &composite, const ViewGeometry &geo)
{
    return geo.SourceRect().intersected(composite.rect());
}

const QImage &ViewComposer::ViewPicture(const QImage &composite, const ViewGeometry &geo)
{
    const QRect src = VisibleSource(composite, geo);
    const QSize target = geo.size;
    if (composite.isNull() || src.isEmpty() || target.isEmpty()) {
        cached_ = QImage();
        pendingDirty_ = QRect();
        return cached_;
    }
    const bool usable = composite.format() == QImage::Format_RGB32;
    if (usable && !cached_.isNull() && key_ == composite.cacheKey() && source_ == src && target_ == target) {
        if (!pendingDirty_.isEmpty()) {
            const QRect region = scaler_.AffectedRegion(src, cached_.size(), pendingDirty_);
            pendingDirty_ = QRect();
            if (!region.isEmpty()) {
                scaler_.Scale(composite, src, cached_, region);
                ++partialRescales_;
            }
        }
        return cached_;
    }
    // Where the source ends inside the view (rounding at the image's edge), the
    // destination shrinks with it so the picture is not stretched unevenly.
    const QRect full = geo.SourceRect();
    QSize dst = target;
    if (full.width() > 0 && src.width() < full.width())
        dst.setWidth(static_cast<int>(static_cast<long long>(target.width()) * src.width() / full.width()));
    if (full.height() > 0 && src.height() < full.height())
        dst.setHeight(static_cast<int>(static_cast<long long>(target.height()) * src.height() / full.height()));
    dst = dst.expandedTo(QSize(1, 1));
    cached_ = QImage(dst, QImage::Format_RGB32);
    if (usable) {
        scaler_.Scale(composite, src, cached_, cached_.rect());
    } else {
        const QImage converted = composite.convertToFormat(QImage::Format_RGB32);
        scaler_.Scale(converted, src, cached_, cached_.rect());
    }
    key_ = composite.cacheKey();
    source_ = src;
    target_ = target;
    pendingDirty_ = QRect();
    ++rescales_;
    return cached_;
}

void ViewComposer::InvalidatePicture()
{
    cached_ = QImage();
    pendingDirty_ = QRect();
}

void ViewComposer::Invalidate()
{
    cached_ = QImage();
    pendingDirty_ = QRect();
    layer_ = QImage();
    base_ = QImage();
    itemBounds_.clear();
    snapshot_.Clear();
    editBounds_ = QRect();
    composedKey_ = 0;
}

}  // namespace orv
