#pragma once
// Decoding a wireless frame (a JPEG held in memory) and drawing it.

#include <QImage>
#include <QPainter>
#include <QSize>

#include <cstdint>
#include <span>

namespace orv {

// Decodes frame by its content; with a valid scaledTo the decoder scales it
// to that size. *natural gets the picture's own size. Null when the data
// cannot be decoded or the picture is beyond the image size limit.
QImage DecodePicture(std::span<const std::uint8_t> frame, QSize scaledTo, QSize *natural);

// Decodes frame by its content and draws it: placement 0 at natural size
// centred in the width x height area at (x, y), placement 1 (or any other)
// stretched onto (x, y, width, height), without smoothing. Returns the
// picture's natural width << 16 | height, or 0 when nothing was decoded
// (empty or undecodable data, a picture beyond the image size limit).
std::uint32_t DrawPicture(QPainter &target, std::span<const std::uint8_t> frame, int x, int y, int width, int height,
                          int placement);

inline int PictureWidth(std::uint32_t drawn)
{
    return static_cast<int>(drawn >> 16);
}
inline int PictureHeight(std::uint32_t drawn)
{
    return static_cast<int>(drawn & 0xFFFF);
}

}  // namespace orv
