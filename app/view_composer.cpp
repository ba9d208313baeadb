#include "view_composer.h"

namespace orv {

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
        return cached_;
    }
    if (!cached_.isNull() && key_ == composite.cacheKey() && source_ == src && target_ == target)
        return cached_;
    // Where the source ends inside the view (rounding at the image's edge), the
    // destination shrinks with it so the picture is not stretched unevenly.
    const QRect full = geo.SourceRect();
    QSize dst = target;
    if (full.width() > 0 && src.width() < full.width())
        dst.setWidth(static_cast<int>(static_cast<long long>(target.width()) * src.width() / full.width()));
    if (full.height() > 0 && src.height() < full.height())
        dst.setHeight(static_cast<int>(static_cast<long long>(target.height()) * src.height() / full.height()));
    dst = dst.expandedTo(QSize(1, 1));
    const QImage part = composite.copy(src);
    cached_ = src.size() == dst ? part : part.scaled(dst, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    key_ = composite.cacheKey();
    source_ = src;
    target_ = target;
    ++rescales_;
    return cached_;
}

}  // namespace orv
