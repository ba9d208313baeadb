#pragma once
// Baseline JPEG files from 24-bit bottom-up pixel rows, through the IJG
// library interface. Shared by the image save, the camera still and the
// wireless receiver.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>

namespace orv {

// Colour resolution of a written JPEG: Subsampled halves it both ways (the
// library's default, smallest files); Full keeps one-pixel coloured lines
// their colour.
enum class JpegChroma { Subsampled, Full };

// Bytes per row of 24-bit pixels padded to a multiple of 4 (0 for width <= 0).
std::size_t PaddedRowBytes(int width);

// Writes path as a JPEG of the given quality (1 to 100, baseline forced) from
// rows: height rows of 24-bit blue-green-red pixels, bottom row first, each
// padded to a multiple of 4 bytes. The file is replaced only when the whole
// JPEG was written. Returns 0, or -1 when the file cannot be created or
// written, the arguments do not describe the buffer, or the library fails.
// *reason (when given) gets the system's reason for a failure.
int JpegWriter(const QString &path, int quality, int width, int height,
               std::span<const std::uint8_t> rows, QString *reason = nullptr,
               JpegChroma chroma = JpegChroma::Subsampled);

// The same into an open stream; the caller owns and closes it (and must
// check its own close for late write errors).
int JpegWriteStream(std::FILE *out, int quality, int width, int height,
                    std::span<const std::uint8_t> rows, JpegChroma chroma = JpegChroma::Subsampled);

}  // namespace orv
