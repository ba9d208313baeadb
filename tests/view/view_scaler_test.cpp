// The view's scaling: weights, flat areas and rescaling a changed region.
#include <gtest/gtest.h>

#include <QRegion>

#include <random>

#include "view/view_scaler.h"

#include "tests/view/view_test_support.h"

namespace orv::test {
namespace {

QImage ScaleWhole(SmoothScaler &scaler, const QImage &src, const QRect &from, QSize to)
{
    QImage out(to, QImage::Format_RGB32);
    scaler.Scale(src, from, out, out.rect());
    return out;
}

TEST(ViewScaler, EveryPixelTakesWeightsSummingToOneFromInsideTheSource)
{
    for (const auto &[s, d] : {std::pair{400, 100}, {400, 137}, {100, 100}, {100, 333}, {7, 1000}, {1000, 7}}) {
        const AxisFilter f(s, d);
        int lastFirst = 0;
        for (int i = 0; i < d; ++i) {
            ASSERT_GE(f.first(i), lastFirst) << s << "->" << d << " at " << i;
            ASSERT_LE(f.first(i) + f.count(i), s);
            int sum = 0;
            for (int t = 0; t < f.count(i); ++t)
                sum += f.weights(i)[t];
            ASSERT_EQ(sum, AxisFilter::kOne) << s << "->" << d << " at " << i;
            lastFirst = f.first(i);
        }
        // DstRange is exactly the pixels whose taps meet the source span.
        for (const auto &[a, b] : {std::pair{0, 1}, {s / 3, s / 3 + 2}, {s - 1, s}, {0, s}}) {
            const auto [lo, hi] = f.DstRange(a, b);
            for (int i = 0; i < d; ++i) {
                const bool meets = f.first(i) < b && f.first(i) + f.count(i) > a;
                EXPECT_EQ(meets, i >= lo && i < hi) << s << "->" << d << " [" << a << "," << b << ") at " << i;
            }
        }
    }
}

TEST(ViewScaler, FlatStaysFlatAndEqualSizesCopy)
{
    SmoothScaler scaler;
    QImage flat(300, 200, QImage::Format_RGB32);
    flat.fill(qRgb(12, 200, 77));
    for (const QSize to : {QSize(97, 61), QSize(300, 200), QSize(811, 433)}) {
        const QImage out = ScaleWhole(scaler, flat, flat.rect(), to);
        for (int y = 0; y < to.height(); y += 7)
            for (int x = 0; x < to.width(); x += 5)
                ASSERT_EQ(out.pixel(x, y), qRgb(12, 200, 77)) << to.width() << " " << x << "," << y;
    }
    const QImage noise = Noise({300, 200}, 3);
    const QRect part(40, 30, 120, 90);
    EXPECT_TRUE(SamePixels(ScaleWhole(scaler, noise, part, part.size()), noise.copy(part)));
}

TEST(ViewScaler, RescalingTheChangedRegionGivesTheWholeRescale)
{
    SmoothScaler scaler;
    std::mt19937 rng(11);
    const QImage before = Noise({400, 300}, 1);
    // (visible part, picture size): shrinking, enlarging, mixed axes, 1:1.
    const std::vector<std::pair<QRect, QSize>> views = {{QRect(0, 0, 400, 300), QSize(100, 75)},
                                                        {QRect(0, 0, 400, 300), QSize(148, 183)},
                                                        {QRect(37, 21, 160, 90), QSize(272, 153)},
                                                        {QRect(50, 50, 97, 61), QSize(97, 61)},
                                                        {QRect(10, 0, 390, 300), QSize(1300, 111)}};
    for (const auto &[from, size] : views) {
        for (int round = 0; round < 4; ++round) {
            const QRect changed(static_cast<int>(rng() % 380), static_cast<int>(rng() % 280),
                                1 + static_cast<int>(rng() % 60), 1 + static_cast<int>(rng() % 60));
            QImage after = before.copy();
            QPainter(&after).fillRect(changed, QColor::fromRgb(static_cast<QRgb>(rng())));
            QImage picture = ScaleWhole(scaler, before, from, size);
            scaler.Scale(after, from, picture, scaler.AffectedRegion(from, size, changed));
            ASSERT_TRUE(SamePixels(picture, ScaleWhole(scaler, after, from, size)))
                << "view " << from.x() << "," << from.y() << " " << size.width() << "x" << size.height() << " changed "
                << changed.x() << "," << changed.y();
        }
    }
}

}  // namespace
}  // namespace orv::test
