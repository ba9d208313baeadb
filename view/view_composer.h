#pragma once
// Composition of the view without widgets: the composite (image with
// everything drawn over it at the image's resolution) and the visible part of
// it stretched to the view size with smooth scaling.
//
// Two caches keep a pointer drag cheap: the layer (the composite without the
// edit item) and the scaled pictures (the view's and the overview's). While
// only the edit item changes, the composite is brought up to date by
// restoring the edit item's old area from the layer and drawing the item
// again, and only the picture pixels over the changed areas are rescaled.
// When listed items change (a selection, a merged drag, a moved label, new
// values), only the pieces of their drawings that differ from before are
// redrawn: from the source with the bars, with every item that meets them, in
// list order. All of it gives exactly the pixels of a full rebuild.

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QSize>

#include <functional>
#include <optional>

#include "view/view_layer.h"
#include "view/view_scaler.h"
#include "view/view_state.h"

namespace orv {

class ViewComposer {
public:
    // The composite: a copy of the source, then drawOver paints the bars and
    // the measurements into it. A null source gives a null composite.
    static QImage BuildComposite(const QImage &source, const std::function<void(QImage &)> &drawOver);

    // Full rebuild: the layer from the inputs, the composite = layer + edit item.
    void Compose(QImage &composite, const LayerInputs &in, const MeasureItem *edit);
    // Only the edit item changed since the last composition: redraws just its
    // old and new rectangles. Falls back to Compose (and returns false) when
    // the layer's inputs changed or the composite was touched elsewhere.
    bool ComposeEdit(QImage &composite, const LayerInputs &in, const MeasureItem *edit);

    enum class Composition { Full, Patched, EditOnly };
    // Brings the composite up to date with the inputs, redrawing only what
    // changed since the last composition. A full rebuild when the image, the
    // bars, the label options or which items are listed changed, or when most
    // items changed.
    Composition Recompose(QImage &composite, const LayerInputs &in, const MeasureItem *edit);

    // The part of the composite the view shows, stretched to the view size.
    // Null when there is nothing to show. Cached until the composite or the
    // geometry changes; after ComposeEdit only the changed pixels are redone.
    const QImage &ViewPicture(const QImage &composite, const ViewGeometry &geo);
    // The view pixels the next ViewPicture changes: none, the area over what
    // the compositions since changed, or the whole view when it is made anew.
    QRegion PendingViewRegion(const QImage &composite, const ViewGeometry &geo);
    // The whole composite stretched to `size` (the overview's picture), with
    // the same scaling as the view; cached as the view picture is.
    const QImage &OverviewPicture(const QImage &composite, QSize size);
    // The image part ViewPicture stretches over the view, before clipping.
    static QRect ShownSource(const ViewGeometry &geo);
    // The source rectangle ViewPicture stretched, clipped to the composite.
    static QRect VisibleSource(const QImage &composite, const ViewGeometry &geo);

    // Drops the view picture and the layer.
    void Invalidate();
    // Drops the view picture only (the view's size or place changed).
    void InvalidatePicture();
    int rescaleCount() const { return view_.rescales; }
    int partialRescaleCount() const { return partialRescales_; }
    int overviewRescaleCount() const { return overview_.rescales; }
    // Compositions that reused the layer.
    int editCompositionCount() const { return editCompositions_; }
    // Compositions that redrew listed items in part.
    int patchCount() const { return patches_; }
    // The composite's pixels the edit item currently covers.
    QRegion editArea() const { return editArea_; }

private:
    // A scaled copy of part of the composite and the composite pixels
    // changed since it was made.
    struct Picture {
        SmoothScaler scaler;
        QImage image;
        qint64 key = 0;
        QRect source;
        QSize target;
        QRegion dirty;
        int rescales = 0;

        void Drop();
    };

    bool Reusable(const QImage &composite) const;
    // Redraws the edit item over the composite restored from the layer in
    // its old area and in `restored`; marks the changes for the pictures.
    void RedrawEdit(QImage &composite, const LayerInputs &in, const MeasureItem *edit, const QRegion &restored);
    // The layer's region to redraw for the changed items and the bars (their
    // areas taken anew), or nullopt when a full rebuild costs less.
    std::optional<QRegion> ChangedRegion(const LayerInputs &in, const std::vector<std::size_t> &changed);
    // The picture of part src of the composite, dst pixels large, brought up
    // to date (in part when only known areas changed).
    const QImage &Refresh(Picture &picture, const QImage &composite, const QRect &src, QSize dst, QSize target);

    // Layer.
    QImage base_;                         // the source with the bars
    PaintedArea barsArea_;                // as last drawn into base_
    std::vector<PaintedArea> itemAreas_;  // by list position, as last drawn
    QImage layer_;
    LayerSnapshot snapshot_;
    qint64 composedKey_ = 0;
    QRegion editArea_;
    int editCompositions_ = 0;
    int patches_ = 0;

    Picture view_;
    Picture overview_;
    int partialRescales_ = 0;
};

}  // namespace orv
