#pragma once
// The one bound on picture sizes. Every path that decodes or allocates a
// picture (image files, camera frames, wireless frames, the composite and its
// caches) reads it here, so a picture one path takes is never refused by, or
// too big for, another.

#include <QSize>
#include <QtGlobal>

namespace orv {

// The most pixels a picture may have: microscope cameras and stitched mosaics
// go far beyond Qt's default reader limit (128 MiB).
inline constexpr qint64 kMaxImagePixels = 200'000'000;
// The longest side: the largest a JPEG can state, and small enough that the
// fitted zoom of the longest picture stays at 1 % or more.
inline constexpr int kMaxImageSide = 65535;

// Bytes each pixel of the current image takes while it is shown and saved:
// the image, the composite's base (image and bars), its layer and the
// composite itself at 4 bytes each, and a save's two 3-byte copies.
inline constexpr qint64 kImageBytesPerPixel = 4 * 4 + 2 * 3;

// The pixel count this machine can hold, never over kMaxImagePixels.
qint64 MaxImagePixels();

// Whether a picture of this size may be taken: both sides from 1 to
// kMaxImageSide and no more than maxPixels pixels.
bool ImageSizeAllowed(QSize size, qint64 maxPixels = MaxImagePixels());

// The allocation limit (megabytes) to give Qt's image reader so that it never
// refuses a picture the pixel bound allows: up to 8 bytes a pixel for 16-bit
// formats.
int ReaderAllocationLimitMb(qint64 maxPixels = MaxImagePixels());

}  // namespace orv
