// The lens scale and cross indicator, checked pixel by pixel.
#include "capture/wireless/lens_overlay.h"
#include "capture/wireless/wireless_picture.h"
#include "measure/render/gdi_paint.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace orv {
namespace {

constexpr QRgb kGround = 0xFF808080;

QImage Overlay(int w, int h, const QString &lens, bool cross, const QString &colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter p(&image);
    DrawLensOverlay(p, 0, 0, w, h, lens, cross, colour);
    return image;
}

bool IsRed(const QImage &image, int x, int y)
{
    return image.pixel(x, y) == qRgb(255, 0, 0);
}

int RedPixels(const QImage &image, QRect area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += IsRed(image, x, y) ? 1 : 0;
    return n;
}

TEST(LensOverlay, X100RedWithCrossOn640x480)
{
    const QImage img = Overlay(640, 480, QStringLiteral("X100"), true, QStringLiteral("Red"));
    // Bar from 504 to 620 at y 380 in a 2-pixel pen.
    EXPECT_TRUE(IsRed(img, 505, 380));
    EXPECT_TRUE(IsRed(img, 560, 380));
    EXPECT_TRUE(IsRed(img, 560, 379));
    EXPECT_FALSE(IsRed(img, 560, 377));
    EXPECT_FALSE(IsRed(img, 560, 383));
    EXPECT_FALSE(IsRed(img, 497, 380));
    EXPECT_FALSE(IsRed(img, 626, 380));
    // End ticks reaching 20 pixels above and below.
    for (int x : {504, 620}) {
        EXPECT_TRUE(IsRed(img, x, 362)) << x;
        EXPECT_FALSE(IsRed(img, x, 355)) << x;
    }
    EXPECT_TRUE(IsRed(img, 620, 398));
    // The label starts at (380, 400) and is 40 pixels high.
    EXPECT_GT(RedPixels(img, QRect(380, 400, 240, 40)), 200);
    EXPECT_EQ(RedPixels(img, QRect(340, 395, 38, 50)), 0);
    EXPECT_EQ(RedPixels(img, QRect(380, 445, 200, 20)), 0);
    // Cross lines through (320, 240).
    EXPECT_TRUE(IsRed(img, 100, 240));
    EXPECT_TRUE(IsRed(img, 320, 60));
    // Ticks every 23 pixels on the horizontal line: 10 up and down, 20 at
    // every fifth.
    EXPECT_TRUE(IsRed(img, 343, 232));
    EXPECT_FALSE(IsRed(img, 343, 226));
    EXPECT_TRUE(IsRed(img, 320 - 23, 248));
    EXPECT_TRUE(IsRed(img, 435, 224));
    EXPECT_FALSE(IsRed(img, 435, 217));
    EXPECT_TRUE(IsRed(img, 320 - 115, 256));
    EXPECT_FALSE(IsRed(img, 332, 232));  // between ticks
    // ... and on the vertical line: 10 to each side, 20 at every fifth.
    EXPECT_TRUE(IsRed(img, 312, 217));
    EXPECT_FALSE(IsRed(img, 305, 217));
    EXPECT_TRUE(IsRed(img, 336, 240 + 115));
    EXPECT_FALSE(IsRed(img, 343, 240 + 115));
}

// The label as the text alone would look at that place, in red.
QImage LabelAlone(int w, int h, QPoint at, const QString &text)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter p(&image);
    p.setFont(LensLabelFont(h));
    TextStyle style;
    style.textColor = MakeColorRef(255, 0, 0);
    DrawTextTopLeft(p, at.x(), at.y(), text, style, h * 20 / 240);
    return image;
}

TEST(LensOverlay, EveryLensDrawsItsOwnScale)
{
    // On 640 x 480 the bar ends at 620 on y 380; ticks on the cross are spaced
    // by the bar's length over its steps, every steps-th one long.
    struct Case {
        const char *lens;
        const char *label;
        int barLeft;
        int labelLeft;
        int tickStep;
        int longTickEvery;
    } cases[] = {
        {"X30", "X30 1mm", 540, 440, 40, 2},          {"X50", "X50 1mm", 506, 440, 57, 2},
        {"X100", "X100 500\u03bcm", 504, 380, 23, 5}, {"X200", "X200 100\u03bcm", 570, 380, 25, 2},
        {"X400", "X400 100\u03bcm", 524, 380, 48, 2}, {"X1000", "---", 566, 380, 27, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lens);
        const QImage img = Overlay(640, 480, QString::fromLatin1(c.lens), true, QStringLiteral("Red"));
        // The bar and its left end tick start at barLeft.
        EXPECT_TRUE(IsRed(img, c.barLeft + 1, 380));
        EXPECT_FALSE(IsRed(img, c.barLeft - 5, 380));
        EXPECT_TRUE(IsRed(img, c.barLeft, 365));
        EXPECT_FALSE(IsRed(img, c.barLeft - 5, 365));
        EXPECT_TRUE(IsRed(img, 620, 365));
        // The label, below the bar's ticks and right of the cross's, is
        // exactly the lens's text, with nothing just before it.
        const QRect label(c.labelLeft - 16, 402, 640 - (c.labelLeft - 16), 44);
        const QImage alone = LabelAlone(640, 480, {c.labelLeft, 400}, QString::fromUtf8(c.label));
        EXPECT_GT(RedPixels(img, label), 50);
        EXPECT_EQ(img.copy(label), alone.copy(label));
        // First tick right of the centre: short; the longTickEvery-th: long.
        const int first = 320 + c.tickStep;
        EXPECT_TRUE(IsRed(img, first, 232));
        EXPECT_FALSE(IsRed(img, first, 226));
        EXPECT_FALSE(IsRed(img, first - 4, 232));
        EXPECT_TRUE(IsRed(img, 320 + c.longTickEvery * c.tickStep, 224));
        // ... and the same spacing down the vertical line.
        EXPECT_TRUE(IsRed(img, 312, 240 + c.tickStep));
        EXPECT_FALSE(IsRed(img, 312, 240 + c.tickStep - 4));
    }
}

TEST(LensOverlay, NilLensWithCrossHasTicksEvery27AndNoScale)
{
    const QImage img = Overlay(640, 480, QStringLiteral("(nil)"), true, QStringLiteral("Red"));
    EXPECT_EQ(RedPixels(img, QRect(380, 360, 250, 90)), 0);  // no bar, no label
    EXPECT_TRUE(IsRed(img, 347, 232));                       // first tick: short
    EXPECT_FALSE(IsRed(img, 347, 226));
    EXPECT_TRUE(IsRed(img, 374, 224));   // second: long
    EXPECT_FALSE(IsRed(img, 366, 236));  // nothing at 23 steps
    EXPECT_TRUE(IsRed(img, 314, 240 - 27));
    EXPECT_TRUE(IsRed(img, 304, 240 - 54));
}

TEST(LensOverlay, ColourTextsAreExact)
{
    struct Case {
        const char *colour;
        QRgb pen;
    } cases[] = {
        {"Red", qRgb(255, 0, 0)}, {"White", qRgb(255, 255, 255)}, {"Black", qRgb(0, 0, 0)},
        {"white", qRgb(0, 0, 0)}, {"red", qRgb(0, 0, 0)},         {"Blue", qRgb(0, 0, 0)},
    };
    for (const Case &c : cases) {
        const QImage img = Overlay(320, 240, QStringLiteral("X30"), true, QString::fromLatin1(c.colour));
        EXPECT_EQ(img.pixel(40, 120), c.pen) << c.colour;
    }
}

TEST(LensOverlay, UnknownLensDrawsDashesAndNarrowRectanglesEnd)
{
    EXPECT_EQ(LensScaleFor(QStringLiteral("X1000")).label, QStringLiteral("---"));
    EXPECT_TRUE(LensScaleFor(QString()).label.isEmpty());
    // A step of 0 pixels: the lines are drawn, the tick loops end.
    const QImage img = Overlay(20, 15, QStringLiteral("(nil)"), true, QStringLiteral("Red"));
    EXPECT_TRUE(IsRed(img, 3, 7));
}

QByteArray Jpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "jpeg").write(image);
    return bytes;
}

TEST(WirelessPicture, DrawsDecodableFramesOnly)
{
    QImage source(100, 60, QImage::Format_RGB32);
    source.fill(qRgb(0, 0, 255));
    const QByteArray jpeg = Jpeg(source);
    const auto span = [](const QByteArray &b) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t *>(b.constData()),
                                             std::size_t(b.size()));
    };

    QImage view(200, 100, QImage::Format_RGB32);
    view.fill(Qt::white);
    QPainter p(&view);
    EXPECT_EQ(DrawPicture(p, span(jpeg), 0, 0, 200, 100, 0), (100u << 16) | 60u);
    p.end();
    EXPECT_LT(qRed(view.pixel(100, 50)), 20);  // centred at (50, 20)
    EXPECT_EQ(view.pixel(45, 50), qRgb(255, 255, 255));
    EXPECT_EQ(view.pixel(100, 15), qRgb(255, 255, 255));

    p.begin(&view);
    EXPECT_EQ(DrawPicture(p, span(jpeg), 0, 0, 200, 100, 1), (100u << 16) | 60u);
    p.end();
    EXPECT_LT(qRed(view.pixel(2, 2)), 20);  // stretched over the whole view

    // The same stream claiming a 60000 x 60000 picture in its frame header:
    // beyond the image size limit, refused before anything is decoded.
    QByteArray forged = jpeg;
    const qsizetype sof = forged.indexOf("\xFF\xC0");
    ASSERT_GT(sof, 0);
    for (int at : {5, 7}) {
        forged[sof + at] = char(60000 >> 8);
        forged[sof + at + 1] = char(60000 & 0xFF);
    }

    for (const QByteArray &bad : {QByteArray(), QByteArray("not a picture"), jpeg.left(20), forged}) {
        QImage blank(20, 20, QImage::Format_RGB32);
        blank.fill(Qt::white);
        QPainter q(&blank);
        EXPECT_EQ(DrawPicture(q, span(bad), 0, 0, 20, 20, 1), 0u);
        q.end();
        EXPECT_EQ(blank.pixel(10, 10), qRgb(255, 255, 255));
    }
    // Any side within the image size limit is decoded, far beyond the sensor's.
    QImage wide(9000, 2, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    QPainter w(&view);
    EXPECT_EQ(DrawPicture(w, span(Jpeg(wide)), 0, 0, 200, 100, 1), (9000u << 16) | 2u);
}

}  // namespace
}  // namespace orv
