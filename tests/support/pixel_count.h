#pragma once
// How many pixels of an image have exactly one colour.

#include <QImage>

namespace orv::test {

inline int CountPixels(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

inline int RedPixels(const QImage &image)
{
    return CountPixels(image, qRgb(255, 0, 0));
}

}  // namespace orv::test
