#pragma once
// Scales a camera frame into the live view's picture in one pass: 24-bit
// blue-green-red rows in, 32-bit RGB out, bilinear. The frame keeps its shape:
// it fills the view one way and is centred between black bars the other.
// This is the only per-frame pass over the pixels on the UI side.

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <vector>

namespace orv {

class CameraFrame;

class CameraViewScaler {
public:
    // Writes frame into picture, (re)allocating picture as Format_RGB32 of
    // viewSize when it is not already that. A null frame or an empty size
    // leaves picture as it was and returns false.
    bool Scale(const CameraFrame &frame, QSize viewSize, QImage &picture);

    // Where a picture of source's shape lies in a view: as large as fits,
    // centred. Empty when either size is.
    static QRect FittedRect(QSize source, QSize view);

private:
    struct Tap {
        int first;  // byte offset (x) or row index (y) of the first sample
        int second;
        std::uint32_t w;  // weight of the second sample, 0 to 256
    };
    void Prepare(QSize source, QSize target);

    QSize source_;
    QSize target_;  // size of the fitted area the taps were made for
    std::vector<Tap> xTaps_;
    std::vector<Tap> yTaps_;
};

}  // namespace orv
