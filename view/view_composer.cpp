#include "view/view_composer.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace orv {
namespace {

// Past this share of the image a patch costs about what a rebuild does.
constexpr qint64 kPatchShareDivisor = 3;

qint64 Area(const QRegion &r)
{
    qint64 area = 0;
    for (const QRect &rect : r)
        area += static_cast<qint64>(rect.width()) * rect.height();
    return area;
}

// The picture pixels that depend on the changed composite pixels.
QRegion PictureRegion(SmoothScaler &scaler, const QRect &from, QSize size, const QRegion &changed)
{
    std::vector<QRect> rects;
    rects.reserve(static_cast<std::size_t>(changed.rectCount()));
    for (const QRect &r : changed)
        rects.push_back(scaler.AffectedRegion(from, size, r));
    return RegionOf(std::move(rects));
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

void ViewComposer::Picture::Drop()
{
    image = QImage();
    dirty = QRegion();
}

void ViewComposer::Compose(QImage &composite, const LayerInputs &in, const MeasureItem *edit)
{
    itemAreas_.clear();
    barsArea_ = {};
    snapshot_.Clear();
    editArea_ = QRegion();
    if (in.source.isNull()) {
        composite = QImage();
        layer_ = QImage();
        base_ = QImage();
        composedKey_ = composite.cacheKey();
        return;
    }
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
    barsArea_ = BarsArea(base_, in);
    itemAreas_ = ListedItemAreas(base_, in);
    CopyInto(base_, layer_);
    if (in.list)
        DrawAllMeasures(layer_, *in.list, nullptr, in.measureOptions);
    // A buffer of its own: later patches copy areas, never the image.
    CopyInto(layer_, composite);
    if (edit)
        editArea_ = DrawEditItem(composite, *edit, in.measureOptions);
    composedKey_ = composite.cacheKey();
}

bool ViewComposer::Reusable(const QImage &composite) const
{
    return !composite.isNull() && !layer_.isNull() && !base_.isNull() && composite.cacheKey() == composedKey_
        && composite.size() == layer_.size() && composite.format() == layer_.format();
}

void ViewComposer::RedrawEdit(QImage &composite, const LayerInputs &in, const MeasureItem *edit,
                              const QRegion &restored)
{
    QRegion changed = editArea_ + restored;
    CopyRegion(layer_, composite, changed);
    editArea_ = edit ? DrawEditItem(composite, *edit, in.measureOptions) : QRegion();
    changed += editArea_;
    const qint64 before = composedKey_;
    composedKey_ = composite.cacheKey();
    // The pictures made from the previous composite need only these pixels.
    for (Picture *picture : {&view_, &overview_}) {
        if (!picture->image.isNull() && picture->key == before) {
            picture->key = composedKey_;
            picture->dirty += changed;
        }
    }
}

bool ViewComposer::ComposeEdit(QImage &composite, const LayerInputs &in, const MeasureItem *edit)
{
    if (!Reusable(composite) || !snapshot_.Matches(in)) {
        Compose(composite, in, edit);
        return false;
    }
    RedrawEdit(composite, in, edit, {});
    ++editCompositions_;
    return true;
}

std::optional<QRegion> ViewComposer::ChangedRegion(const LayerInputs &in, const std::vector<std::size_t> &changed)
{
    std::vector<QRect> rects;
    if (!snapshot_.SameBars(in)) {
        std::vector<QRect> bars;
        barsArea_.AddTo(bars);
        barsArea_ = BarsArea(base_, in);
        barsArea_.AddTo(bars);
        const QRegion barsRegion = RegionOf(bars);
        RedrawBarsRegion(base_, barsRegion, in);
        rects.insert(rects.end(), bars.begin(), bars.end());
    }
    std::vector<PaintedArea> now = ListedItemAreas(layer_, in, changed);
    for (std::size_t k = 0; k < changed.size(); ++k) {
        const std::size_t i = changed[k];
        // Pieces drawn alike before and now write the same pixels: only the
        // others are redrawn (a new value's text, a selection's marks).
        itemAreas_[i].AddDifferenceTo(now[k], rects);
        itemAreas_[i] = std::move(now[k]);
    }
    const QRegion region = RegionOf(std::move(rects)) & layer_.rect();
    const qint64 whole = static_cast<qint64>(layer_.width()) * layer_.height();
    if (Area(region) * kPatchShareDivisor > whole)
        return std::nullopt;
    return region;
}

ViewComposer::Composition ViewComposer::Recompose(QImage &composite, const LayerInputs &in, const MeasureItem *edit)
{
    const std::size_t n = in.list ? in.list->size() : 0;
    if (!Reusable(composite) || !snapshot_.SameItems(in) || itemAreas_.size() != n) {
        Compose(composite, in, edit);
        return Composition::Full;
    }
    const std::vector<std::size_t> changed = snapshot_.ChangedItems(in);
    if (changed.empty() && snapshot_.SameBars(in)) {
        snapshot_.Retake(in, changed);
        RedrawEdit(composite, in, edit, {});
        ++editCompositions_;
        return Composition::EditOnly;
    }
    const std::optional<QRegion> region = ChangedRegion(in, changed);
    if (!region) {
        Compose(composite, in, edit);
        return Composition::Full;
    }
    snapshot_.Retake(in, changed);
    RedrawLayerRegion(layer_, base_, *region, in, itemAreas_);
    RedrawEdit(composite, in, edit, *region);
    ++editCompositions_;
    ++patches_;
    return Composition::Patched;
}

QRegion ViewComposer::PendingViewRegion(const QImage &composite, const ViewGeometry &geo)
{
    const QRect src = VisibleSource(composite, geo);
    if (view_.image.isNull() || view_.key != composite.cacheKey() || view_.source != src || view_.target != geo.size)
        return QRegion(QRect(QPoint(0, 0), geo.size));
    return PictureRegion(view_.scaler, src, view_.image.size(), view_.dirty);
}

QRect ViewComposer::ShownSource(const ViewGeometry &geo)
{
    QRect r = geo.SourceRect();
    // Above 100 % the image's last pixel may be only partly on screen and the
    // truncated source drops it (all of a 1 x 1 image at 150 %): where the
    // view reaches the image's far edge, the source does too.
    if (geo.zoomX > 100 && geo.scroll.x() + geo.size.width() >= geo.ImageToViewX(geo.imageSize.width()))
        r.setRight(std::max(r.right(), geo.imageSize.width() - 1));
    if (geo.zoomY > 100 && geo.scroll.y() + geo.size.height() >= geo.ImageToViewY(geo.imageSize.height()))
        r.setBottom(std::max(r.bottom(), geo.imageSize.height() - 1));
    return r;
}

QRect ViewComposer::VisibleSource(const QImage &composite, const ViewGeometry &geo)
{
    return ShownSource(geo).intersected(composite.rect());
}

const QImage &ViewComposer::Refresh(Picture &picture, const QImage &composite, const QRect &src, QSize dst,
                                    QSize target)
{
    if (composite.isNull() || src.isEmpty() || target.isEmpty() || dst.isEmpty()) {
        picture.Drop();
        return picture.image;
    }
    const bool usable = composite.format() == QImage::Format_RGB32;
    if (usable && !picture.image.isNull() && picture.key == composite.cacheKey() && picture.source == src
        && picture.target == target && picture.image.size() == dst) {
        if (!picture.dirty.isEmpty()) {
            const QRegion region = PictureRegion(picture.scaler, src, dst, picture.dirty);
            picture.dirty = QRegion();
            for (const QRect &r : region)
                picture.scaler.Scale(composite, src, picture.image, r);
            if (!region.isEmpty())
                ++partialRescales_;
        }
        return picture.image;
    }
    picture.image = QImage(dst, QImage::Format_RGB32);
    if (usable) {
        picture.scaler.Scale(composite, src, picture.image, picture.image.rect());
    } else {
        const QImage converted = composite.convertToFormat(QImage::Format_RGB32);
        picture.scaler.Scale(converted, src, picture.image, picture.image.rect());
    }
    picture.key = composite.cacheKey();
    picture.source = src;
    picture.target = target;
    picture.dirty = QRegion();
    ++picture.rescales;
    return picture.image;
}

const QImage &ViewComposer::ViewPicture(const QImage &composite, const ViewGeometry &geo)
{
    const QRect src = VisibleSource(composite, geo);
    const QSize target = geo.size;
    // Where the source ends inside the view (rounding at the image's edge), the
    // destination shrinks with it so the picture is not stretched unevenly.
    const QRect full = ShownSource(geo);
    QSize dst = target;
    if (full.width() > 0 && src.width() < full.width())
        dst.setWidth(static_cast<int>(static_cast<long long>(target.width()) * src.width() / full.width()));
    if (full.height() > 0 && src.height() < full.height())
        dst.setHeight(static_cast<int>(static_cast<long long>(target.height()) * src.height() / full.height()));
    return Refresh(view_, composite, src, dst.expandedTo(QSize(1, 1)), target);
}

const QImage &ViewComposer::OverviewPicture(const QImage &composite, QSize size)
{
    return Refresh(overview_, composite, composite.rect(), size, size);
}

void ViewComposer::InvalidatePicture()
{
    view_.Drop();
}

void ViewComposer::Invalidate()
{
    view_.Drop();
    overview_.Drop();
    layer_ = QImage();
    base_ = QImage();
    itemAreas_.clear();
    barsArea_ = {};
    snapshot_.Clear();
    editArea_ = QRegion();
    composedKey_ = 0;
}

}  // namespace orv
