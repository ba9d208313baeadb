// Fonts by cell height, pixel rules of lines, rectangles, markers and text.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

#include "measure/render/draw_geometry.h"
#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"
#include "tests/support/render_test_support.h"

namespace orv {
namespace {

using namespace test;

constexpr ColorRef kRedRef = 0x000000FF;

TEST(RenderFont, CellHeightNeverExceedsTheFontSize)
{
    for (int size : {5, 8, 10, 14, 16, 20, 25, 30, 60}) {
        const QFontMetrics fm(MakeLabelFont(QStringLiteral("Arial"), size));
        EXPECT_LE(fm.height(), size) << size;
        EXPECT_GE(fm.height(), size - 2) << size;
    }
}

TEST(RenderFont, RequestedWidthStretchesTheText)
{
    const QString text = QStringLiteral("Sample TEXT 12.35mm");
    const int narrow = TextWidth(MakeCellFont(QStringLiteral("Arial"), 16, 8), text);
    const int wide = TextWidth(MakeCellFont(QStringLiteral("Arial"), 16, 16), text);
    const int natural = TextWidth(MakeCellFont(QStringLiteral("Arial"), 16, 0), text);
    EXPECT_NEAR(static_cast<double>(wide) / narrow, 2.0, 0.15);
    // Half the height is wider than the face's own proportions.
    EXPECT_GT(narrow, natural);
}

TEST(RenderFont, HostileSizesStillGiveAFont)
{
    EXPECT_GE(QFontMetrics(MakeLabelFont(QStringLiteral("Arial"), 0)).height(), 1);
    EXPECT_GE(QFontMetrics(MakeLabelFont(QStringLiteral("Arial"), -5)).height(), 1);
    EXPECT_LE(QFontMetrics(MakeLabelFont(QStringLiteral("Arial"), 1000000)).height(), 2000);
}

TEST(RenderFont, JapaneseFacesAreSubstituted)
{
    RegisterFontSubstitutions();
    RegisterFontSubstitutions();
    for (const QString &face : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")})
        EXPECT_EQ(QFontInfo(QFont(face)).family(), QStringLiteral("IPAGothic")) << face.toStdString();
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"))).family(), QStringLiteral("IPAPGothic"));
}

TEST(RenderPrimitives, SegmentsLeaveOutTheirLastPixel)
{
    QImage img = BlankImage(40, 40);
    {
        QPainter p(&img);
        p.setPen(SolidPen(1, kRedRef));
        DrawSegment(p, QPoint(5, 5), QPoint(15, 5));
        DrawSegment(p, QPoint(30, 20), QPoint(30, 10));  // upwards
        DrawSegment(p, QPoint(2, 30), QPoint(2, 30));      // nothing
    }
    EXPECT_TRUE(Is(img, 5, 5, kRed));
    EXPECT_TRUE(Is(img, 14, 5, kRed));
    EXPECT_FALSE(Is(img, 15, 5, kRed));
    EXPECT_TRUE(Is(img, 30, 20, kRed));
    EXPECT_TRUE(Is(img, 30, 11, kRed));
    EXPECT_FALSE(Is(img, 30, 10, kRed));
    EXPECT_FALSE(Is(img, 2, 30, kRed));
}

TEST(RenderPrimitives, DottedPenLeavesGaps)
{
    QImage img = BlankImage(40, 10);
    {
        QPainter p(&img);
        p.setPen(DottedPen(kRedRef));
        DrawSegment(p, QPoint(0, 5), QPoint(30, 5));
    }
    const int lit = CountWhere(img, Exactly(kRed), QRect(0, 5, 30, 1));
    EXPECT_GE(lit, 12);
    EXPECT_LE(lit, 18);  // a solid line would light all 30
}

TEST(RenderPrimitives, WidePenCoversItsWidth)
{
    QImage img = BlankImage(40, 20);
    {
        QPainter p(&img);
        p.setPen(SolidPen(5, kRedRef));
        DrawSegment(p, QPoint(5, 10), QPoint(35, 10));
    }
    EXPECT_TRUE(Is(img, 20, 8, kRed));
    EXPECT_TRUE(Is(img, 20, 12, kRed));
    EXPECT_FALSE(Is(img, 20, 15, kRed));
}

TEST(RenderPrimitives, PointMarkerIsACrossWithACircle)
{
    QImage img = BlankImage(40, 40);
    {
        QPainter p(&img);
        p.setPen(SolidPen(1, kRedRef));
        DrawPointMarker(p, QPoint(20, 20));
    }
    EXPECT_TRUE(Is(img, 20, 12, kRed));
    EXPECT_TRUE(Is(img, 20, 27, kRed));
    EXPECT_FALSE(Is(img, 20, 29, kRed));
    EXPECT_TRUE(Is(img, 12, 20, kRed));
    EXPECT_TRUE(Is(img, 27, 20, kRed));
    // The circle of radius 5 crosses the diagonals about 3.5 pixels out.
    EXPECT_GT(CountWhere(img, Exactly(kRed), QRect(23, 23, 2, 2)), 0);
    EXPECT_GT(CountWhere(img, Exactly(kRed), QRect(15, 15, 3, 3)), 0);
    EXPECT_FALSE(Is(img, 22, 22, kRed));  // not filled
    EXPECT_EQ(BoxWhere(img, Exactly(kRed)), QRect(QPoint(12, 12), QPoint(27, 27)));
}

TEST(RenderPrimitives, RectangleIsFilledWhiteInsideItsFrame)
{
    QImage img = BlankImage(40, 40);
    {
        QPainter p(&img);
        p.setPen(SolidPen(1, kRedRef));
        DrawFilledRect(p, 10, 10, 30, 20);
    }
    EXPECT_TRUE(Is(img, 10, 10, kRed));
    EXPECT_TRUE(Is(img, 29, 19, kRed));
    EXPECT_FALSE(Is(img, 30, 15, kRed));
    EXPECT_TRUE(Is(img, 20, 15, Qt::white));
    EXPECT_TRUE(Is(img, 31, 15, Qt::black));
}

TEST(RenderPrimitives, OpaqueTextFillsItsCell)
{
    QImage img = BlankImage(120, 40);
    int width = 0;
    {
        QPainter p(&img);
        p.setFont(MakeLabelFont(QStringLiteral("Arial"), 16));
        width = DrawTextTopLeft(p, 10, 8, QStringLiteral("No.1"), TextStyle{0x00FFFF00, 0x00F0F0F0, true}, 16);
    }
    EXPECT_GT(width, 10);
    const QRect box = BoxWhere(img, [](QRgb px) { return px != qRgb(0, 0, 0); });
    EXPECT_EQ(box, QRect(10, 8, width, 16));
}

}  // namespace
}  // namespace orv
