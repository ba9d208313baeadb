#include "view_composer.h"

#include <cstring>

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
    // Give the old images up before the new ones are made.
    composite = QImage();
    layer_ = QImage();
    snapshot_.Clear();
    editBounds_ = QRect();
    // Taken before drawing: a drawing that places labels changes the items,
    // and the next drawing of them can differ (a frame drawn first instead of
    // over the line). Such a layer is never reused; the next composition
    // draws again from the settled items.
    snapshot_.Take(in);
    layer_ = BuildComposite(in.source, [&in](QImage &c) { DrawLayer(c, in); });
    if (!layer_.isNull()) {
        // Shared with the layer until the edit item is drawn into it.
        composite = layer_;
        if (edit)
            editBounds_ = DrawEditItem(composite, *edit, in.measureOptions);
    } else {
        snapshot_.Clear();
    }
    composedKey_ = composite.cacheKey();
}

bool ViewComposer::ComposeEdit(QImage &composite, const LayerInputs &in, MeasureItem *edit)
{
    if (composite.isNull() || layer_.isNull() || composite.cacheKey() != composedKey_ ||
        composite.size() != layer_.size() || composite.format() != layer_.format() || !snapshot_.Matches(in)) {
        Compose(composite, in, edit);
        return false;
    }
    CopyRect(layer_, composite, editBounds_);
    const QRect newBounds = edit ? DrawEditItem(composite, *edit, in.measureOptions) : QRect();
    const QRect changed = editBounds_.united(newBounds);
    editBounds_ = newBounds;
    const qint64 before = composedKey_;
    composedKey_ = composite.cacheKey();
    // The picture made from the previous composite needs only these pixels.
    if (!cached_.isNull() && key_ == before) {
        key_ = composedKey_;
        pendingDirty_ = pendingDirty_.united(changed);
    }
    ++editCompositions_;
    return true;
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

void ViewComposer::Invalidate()
{
    cached_ = QImage();
    pendingDirty_ = QRect();
    layer_ = QImage();
    snapshot_.Clear();
    editBounds_ = QRect();
    composedKey_ = 0;
}

}  // namespace orv
