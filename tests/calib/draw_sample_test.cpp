// The option page's sample in the current draw attributes.
#include <gtest/gtest.h>

#include <QImage>

#include "calib/draw_sample.h"
#include "tests/support/render_test_support.h"

namespace orv {
namespace {

using namespace test;

QImage Sample(const DrawAttribute &attr)
{
    QImage img = BlankImage(kSampleWidth, kSampleHeight, Qt::white);
    DrawSample(img, attr);
    return img;
}

TEST(DrawSample, MarkersLineAndCentredText)
{
    const QImage img = Sample(DrawAttribute{});
    for (int x : {20, 180}) {
        EXPECT_TRUE(Is(img, x, 22, kRed)) << x;
        EXPECT_TRUE(Is(img, x - 8, 30, kRed)) << x;
    }
    EXPECT_TRUE(Is(img, 40, 30, kRed));
    EXPECT_FALSE(Is(img, 40, 31, kRed));
    const QRect ink = BoxWhere(img, Tinted(QColor(0, 255, 255)));
    ASSERT_TRUE(ink.isValid());
    EXPECT_NEAR(ink.center().x(), 100, 3);
    EXPECT_GE(ink.top(), 22);
    EXPECT_LE(ink.bottom(), 38);
}

TEST(DrawSample, FollowsTheAttributes)
{
    DrawAttribute attr;
    attr.lineWidthText = "3";
    attr.lineColor = 0x00FF0000;  // blue
    EXPECT_TRUE(Is(Sample(attr), 30, 31, QColor(0, 0, 255)));
    attr.transparent = 0;
    attr.fontSize = 30;
    const QImage img = Sample(attr);
    // The opaque cell of the text, centred on (100, 30), in the back colour.
    const QRect back = BoxWhere(img, [](QRgb px) { return px == qRgb(240, 240, 240); });
    ASSERT_TRUE(back.isValid());
    EXPECT_EQ(back.top(), 15);
    EXPECT_EQ(back.bottom(), 44);
    EXPECT_NEAR(back.center().x(), 100, 2);
}

}  // namespace
}  // namespace orv
