// The one image size bound every picture path reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "core/image_limit.h"

namespace orv {
namespace {

TEST(ImageLimit, SizesWithinBothBoundsAreAllowed)
{
    const qint64 limit = kMaxImagePixels;
    const struct {
        QSize size;
        qint64 maxPixels;
        bool allowed;
    } cases[] = {
        {{1, 1}, limit, true},
        {{kMaxImageSide, 3051}, limit, true},           // 199.9 million pixels
        {{kMaxImageSide, 3052}, limit, false},          // just over
        {{20000, 10000}, limit, true},
        {{20000, 10001}, limit, false},
        {{kMaxImageSide + 1, 1}, limit, false},          // a side beyond the limit
        {{1, kMaxImageSide + 1}, limit, false},
        {{0, 10}, limit, false},
        {{10, 0}, limit, false},
        {{-1, -1}, limit, false},
        {{40, 30}, 1200, true},
        {{40, 30}, 1199, false},
        {{65535, 65535}, std::numeric_limits<qint64>::max(), true},  // no overflow at the extremes
    };
    for (const auto &c : cases)
        EXPECT_EQ(ImageSizeAllowed(c.size, c.maxPixels), c.allowed)
            << c.size.width() << " x " << c.size.height() << " of " << c.maxPixels;
}

TEST(ImageLimit, MachineBoundAndReaderLimitCoverTheAllowedPictures)
{
    EXPECT_GT(MaxImagePixels(), qint64(6000) * 6000);
    EXPECT_LE(MaxImagePixels(), kMaxImagePixels);
    // Qt's reader must never refuse what the pixel bound allows: 8 bytes a
    // pixel at most, in whole megabytes, within an int.
    for (qint64 pixels : {qint64(1), qint64(1200), qint64(131072), kMaxImagePixels, qint64(1) << 40}) {
        const int mb = ReaderAllocationLimitMb(pixels);
        EXPECT_GE(mb, 1) << pixels;
        EXPECT_GE(qint64(mb) * 1024 * 1024, std::min<qint64>(pixels * 8, std::numeric_limits<int>::max()))
            << pixels;
    }
}

}  // namespace
}  // namespace orv
