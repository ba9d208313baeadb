#include "document/view_geometry.h"

namespace orv {
namespace {

// Integer scaling with a guard against a zero divisor; 64-bit intermediate
// so large images at large zooms do not overflow.
int MulDivTrunc(long long a, long long mul, long long div)
{
    if (div == 0)
        return 0;
    return static_cast<int>(a * mul / div);
}

}  // namespace

QPoint ViewGeometry::ViewToImage(QPoint view) const
{
    return {MulDivTrunc(view.x() + scroll.x(), 100, zoomX),
            MulDivTrunc(view.y() + scroll.y(), 100, zoomY)};
}

QPoint ViewGeometry::ImageToView(QPoint image) const
{
    return {MulDivTrunc(image.x(), zoomX, 100) - scroll.x(),
            MulDivTrunc(image.y(), zoomY, 100) - scroll.y()};
}

int ViewGeometry::ImageToViewX(int len) const { return MulDivTrunc(len, zoomX, 100); }
int ViewGeometry::ImageToViewY(int len) const { return MulDivTrunc(len, zoomY, 100); }
int ViewGeometry::ViewToImageX(int len) const { return MulDivTrunc(len, 100, zoomX); }
int ViewGeometry::ViewToImageY(int len) const { return MulDivTrunc(len, 100, zoomY); }

QRect ViewGeometry::SourceRect() const
{
    return QRect(MulDivTrunc(scroll.x(), 100, zoomX), MulDivTrunc(scroll.y(), 100, zoomY),
                 MulDivTrunc(size.width(), 100, zoomX), MulDivTrunc(size.height(), 100, zoomY));
}

}  // namespace orv
