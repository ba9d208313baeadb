#pragma once
// 24-bit uncompressed BMP files: 14 + 40 header bytes, then the rows bottom-up,
// each padded to a multiple of 4 bytes. Shared by the image save and the
// camera still.

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace orv {

inline constexpr std::size_t kBmpHeaderBytes = 54;

// rowAt(y) gives row y (top row 0) as width * 3 blue-green-red bytes. With
// recordImageSize the info header states the pixel byte count (as a capture
// format does); without, it stays 0 like the other optional fields. Empty when
// the size is not positive or the file would not fit a BMP's 32-bit sizes.
QByteArray BuildBmp24(int width, int height, const std::function<const void *(int)> &rowAt,
                      bool recordImageSize);

// The padded bottom-up rows of a file from BuildBmp24, as JpegWriter takes them.
std::span<const std::uint8_t> BmpPixelRows(const QByteArray &bmp);

}  // namespace orv
