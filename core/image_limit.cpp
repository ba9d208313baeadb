#include "core/image_limit.h"

#include <algorithm>
#include <limits>

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif

namespace orv {

qint64 MaxImagePixels()
{
    qint64 pixels = kMaxImagePixels;
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        pixels = std::min(pixels, qint64(pages) * pageSize / kImageBytesPerPixel);
#endif
    return pixels;
}

bool ImageSizeAllowed(QSize size, qint64 maxPixels)
{
    if (size.width() < 1 || size.height() < 1 || size.width() > kMaxImageSide || size.height() > kMaxImageSide)
        return false;
    return qint64(size.width()) * size.height() <= maxPixels;
}

int ReaderAllocationLimitMb(qint64 maxPixels)
{
    return static_cast<int>(
        std::clamp<qint64>(maxPixels * 8 / (1024 * 1024) + 1, 1, std::numeric_limits<int>::max()));
}

}  // namespace orv
