#pragma once
// Composition of the view without widgets: the composite (image with
// everything drawn over it at the image's resolution) and the visible part of
// it stretched to the view size with smooth scaling, cached between paints.

#include <QImage>
#include <QRect>
#include <QSize>

#include <functional>

#include "view_state.h"

namespace orv {

class ViewComposer {
public:
    // The composite: a copy of the source, then drawOver paints the bars and
    // the measurements into it. A null source gives a null composite.
    static QImage BuildComposite(const QImage &source, const std::function<void(QImage &)> &drawOver);

    // The part of the composite the view shows, stretched to the view size.
    // Null when there is nothing to show. Cached until the composite or the
    // geometry changes.
    const QImage &ViewPicture(const QImage &composite, const ViewGeometry &geo);
    // The source rectangle ViewPicture stretched, clipped to the composite.
    static QRect VisibleSource(const QImage &composite, const ViewGeometry &geo);

    void Invalidate() { cached_ = QImage(); }
    int rescaleCount() const { return rescales_; }

private:
    QImage cached_;
    qint64 key_ = 0;
    QRect source_;
    QSize target_;
    int rescales_ = 0;
};

}  // namespace orv
