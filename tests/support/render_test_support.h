#pragma once
// Pixel probes for drawing tests: colours near a target and bounding boxes,
// so that tests do not depend on exact glyph rasters; and the pure colours
// the tests draw in.

#include <QColor>
#include <QImage>
#include <QRect>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>

namespace orv::test {

inline const QColor kRed(255, 0, 0);
inline const QColor kGreen(0, 255, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kCyan(0, 255, 255);

inline QImage BlankImage(int w, int h, QColor fill = Qt::black)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

inline bool Near(QRgb px, QColor c, int tolerance = 40)
{
    return std::abs(qRed(px) - c.red()) <= tolerance && std::abs(qGreen(px) - c.green()) <= tolerance
           && std::abs(qBlue(px) - c.blue()) <= tolerance;
}

inline bool Is(const QImage &img, int x, int y, QColor c)
{
    return img.rect().contains(x, y) && img.pixel(x, y) == c.rgb();
}

// Text of a pure colour on black: any pixel whose channels lean towards it.
inline std::function<bool(QRgb)> Tinted(QColor c)
{
    return [c](QRgb px) {
        const int r = qRed(px), g = qGreen(px), b = qBlue(px);
        const int strength = std::max({r, g, b});
        if (strength < 60)
            return false;
        auto matches = [strength](int channel, int target) {
            return target > 0 ? channel > strength / 2 : channel < strength / 3;
        };
        return matches(r, c.red()) && matches(g, c.green()) && matches(b, c.blue());
    };
}

// Inclusive bounding box of the pixels in `region` that satisfy `pred`;
// an invalid QRect when there are none.
inline QRect BoxWhere(const QImage &img, const std::function<bool(QRgb)> &pred, QRect region = {})
{
    if (region.isNull())
        region = img.rect();
    region = region.intersected(img.rect());
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (pred(img.pixel(x, y))) {
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x), b = std::max(b, y);
            }
    return l == INT_MAX ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

inline int CountWhere(const QImage &img, const std::function<bool(QRgb)> &pred, QRect region = {})
{
    if (region.isNull())
        region = img.rect();
    region = region.intersected(img.rect());
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            n += pred(img.pixel(x, y)) ? 1 : 0;
    return n;
}

inline std::function<bool(QRgb)> Exactly(QColor c)
{
    return [rgb = c.rgb()](QRgb px) { return px == rgb; };
}

}  // namespace orv::test
