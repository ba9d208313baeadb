// The standard scale and the calibration bars as drawn into the composite.
#include <gtest/gtest.h>

#include <QPainter>

#include "tests/support/render_test_support.h"
#include "calib/scale_bars.h"
#include "calib/standard_scale.h"

namespace orv {
namespace {

using namespace test;

struct Scene {
    ScaleSetting calibration = ScaleSetting::Defaults(Language::English);
    StandardScale scale = StandardScale::Defaults(Language::English, ScaleSetting::Defaults(Language::English));
};

QImage Draw(const Scene &s, bool calibrationPage, QColor background = Qt::black)
{
    QImage img = BlankImage(320, 160, background);
    QPainter p(&img);
    DrawScaleBars(p, s.scale, s.calibration, calibrationPage);
    return img;
}

TEST(StandardScaleSettings, Defaults)
{
    const ScaleSetting c = ScaleSetting::Defaults(Language::Japanese);
    const StandardScale ja = StandardScale::Defaults(Language::Japanese, c);
    EXPECT_EQ(ja.lengthUnit, "μm");
    EXPECT_EQ(ja.length, "200");
    EXPECT_EQ(ja.pixelLength, 200);
    EXPECT_EQ(ja.show, 0);
    EXPECT_EQ(ja.position, QPoint(20, 20));
    EXPECT_EQ(ja.fontColor, 0x00FF0000u);
    EXPECT_EQ(ja.backColor, 0x00F0F0F0u);
    EXPECT_EQ(ja.lineColor, 0x0000FF00u);
    EXPECT_EQ(ja.transparent, 1);
    EXPECT_EQ(ja.fontSize, 16);
    EXPECT_EQ(ja.faceName, "Arial");
    EXPECT_EQ(StandardScale::Defaults(Language::English, c).lengthUnit, "um");

    StandardScale s = ja;
    ScaleSetting mm = c;
    mm.hValue = "1";
    mm.unit = "mm";
    s.updatePixelLength(mm);
    EXPECT_EQ(s.pixelLength, 20);  // 200 um at 100 pixels per mm
    s.thickness = "abc";
    EXPECT_EQ(s.penWidth(), 1);
    s.thickness = "4";
    EXPECT_EQ(s.penWidth(), 4);
}

TEST(ScaleBars, StandardScaleOfTheDefaultCalibration)
{
    Scene s;
    s.scale.show = 1;
    const QImage img = Draw(s, false);
    // Bar from (20, 20) to (220, 20), its last pixel left out; ticks from y 12 to 28.
    for (int x : {20, 21, 60, 219})
        EXPECT_TRUE(Is(img, x, 20, kGreen) || Tinted(kBlue)(img.pixel(x, 20))) << x;
    EXPECT_TRUE(Is(img, 20, 20, kGreen));
    EXPECT_TRUE(Is(img, 219, 20, kGreen));
    for (int x : {20, 220}) {
        EXPECT_TRUE(Is(img, x, 12, kGreen)) << x;
        EXPECT_TRUE(Is(img, x, 27, kGreen)) << x;
        EXPECT_FALSE(Is(img, x, 28, kGreen)) << x;
        EXPECT_FALSE(Is(img, x, 11, kGreen)) << x;
    }
    EXPECT_FALSE(Is(img, 221, 20, kGreen));
    EXPECT_EQ(BoxWhere(img, Exactly(kGreen)), QRect(QPoint(20, 12), QPoint(220, 27)));

    // The blue label is centred over the bar, its 16-pixel box from y 12 to 28.
    const QRect ink = BoxWhere(img, Tinted(kBlue));
    ASSERT_TRUE(ink.isValid());
    EXPECT_GE(ink.top(), 12);
    EXPECT_LE(ink.bottom(), 27);
    EXPECT_LT(ink.top(), 20);
    EXPECT_GT(ink.bottom(), 20);
    EXPECT_NEAR(ink.center().x(), 120, 3);
    // No calibration bars: nothing black-on-black can show, so check the colours.
    EXPECT_EQ(CountWhere(img, [](QRgb px) { return px != qRgb(0, 0, 0); }, QRect(0, 30, 320, 130)), 0);
}

TEST(ScaleBars, CalibrationBarsOnlyOnTheCalibrationPage)
{
    Scene s;
    const auto dark = [](QRgb px) { return qGray(px) < 160; };
    const QImage off = Draw(s, false, Qt::white);
    EXPECT_EQ(CountWhere(off, dark), 0);

    const QImage on = Draw(s, true, Qt::white);
    // Horizontal bar from (10, 10), 100 pixels; vertical bar from (10, 10) down.
    EXPECT_TRUE(Is(on, 60, 10, Qt::black));
    EXPECT_TRUE(Is(on, 110, 2, Qt::black));
    EXPECT_TRUE(Is(on, 110, 17, Qt::black));
    EXPECT_TRUE(Is(on, 10, 60, Qt::black));
    EXPECT_TRUE(Is(on, 2, 110, Qt::black));
    EXPECT_TRUE(Is(on, 17, 110, Qt::black));
    EXPECT_FALSE(Is(on, 110, 18, Qt::black));  // last pixel of the tick
    // "100um" centred in (10, 2)-(110, 18), above the bar line.
    const QRect hLabel = BoxWhere(on, dark, QRect(19, 0, 80, 10));
    ASSERT_TRUE(hLabel.isValid());
    EXPECT_NEAR(hLabel.center().x(), 60, 3);
    EXPECT_GE(hLabel.top(), 2);
    // The vertical bar's label hangs below its end, from x 2.
    const QRect vLabel = BoxWhere(on, dark, QRect(0, 112, 100, 20));
    ASSERT_TRUE(vLabel.isValid());
    EXPECT_LE(vLabel.left(), 5);
    EXPECT_GT(vLabel.width(), 10);

    // With the standard scale shown too, both kinds appear.
    s.scale.show = 1;
    const QImage both = Draw(s, true, Qt::white);
    EXPECT_TRUE(Is(both, 219, 20, kGreen));
    EXPECT_TRUE(Is(both, 60, 10, Qt::black));
}

TEST(ScaleBars, CalibrationBarsShowOnDarkAndLightPictures)
{
    // The bars are found and dragged by eye: on any picture their lines and
    // labels must stand out from it.
    const QColor backgrounds[] = {Qt::black, Qt::white, QColor(128, 128, 128), QColor(0, 0, 90),
                                  QColor(250, 240, 200)};
    Scene s;
    for (const QColor &background : backgrounds) {
        SCOPED_TRACE(background.name().toStdString());
        const QImage img = Draw(s, true, background);
        const auto stands = [&](QRgb px) { return std::abs(qGray(px) - qGray(background.rgb())) >= 100; };
        // Along both bars and across both end ticks (bars from (10, 10), 100 pixels).
        for (QPoint at : {QPoint(60, 10), QPoint(10, 60), QPoint(110, 4), QPoint(4, 110), QPoint(10, 110)})
            EXPECT_GT(CountWhere(img, stands, QRect(at - QPoint(1, 1), QSize(3, 3))), 0) << at.x() << "," << at.y();
        // The labels: "100um" over the horizontal bar, under the vertical one.
        EXPECT_GT(CountWhere(img, stands, QRect(19, 0, 80, 10)), 15);
        EXPECT_GT(CountWhere(img, stands, QRect(0, 112, 100, 20)), 15);
        // Nothing is drawn elsewhere.
        EXPECT_EQ(CountWhere(img, stands, QRect(130, 30, 190, 130)), 0);
    }
}

TEST(ScaleBars, LabelIsCutAtTheBarEnds)
{
    Scene s;
    s.scale.show = 1;
    s.scale.length = "123456789012";
    s.scale.pixelLength = 40;
    const QImage img = Draw(s, false);
    const QRect ink = BoxWhere(img, Tinted(kBlue));
    ASSERT_TRUE(ink.isValid());
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.right(), 59);
}

TEST(ScaleBars, ZeroLengthLeavesTwoTicksAndNoLabel)
{
    Scene s;
    s.scale.show = 1;
    s.scale.pixelLength = 0;
    const QImage img = Draw(s, false);
    EXPECT_EQ(BoxWhere(img, Exactly(kGreen)), QRect(QPoint(20, 12), QPoint(20, 27)));
    EXPECT_EQ(CountWhere(img, Tinted(kBlue)), 0);
}

TEST(ScaleBars, OpaqueLabelCoversTheMiddleOfTheLine)
{
    Scene s;
    s.scale.show = 1;
    s.scale.transparent = 0;
    const QImage img = Draw(s, false);
    EXPECT_FALSE(Is(img, 120, 20, kGreen));
    EXPECT_GT(CountWhere(img, Exactly(QColor(240, 240, 240)), QRect(20, 12, 200, 16)), 100);
    EXPECT_TRUE(Is(img, 21, 20, kGreen));
}

TEST(ScaleBars, ThicknessAndFontSize)
{
    Scene s;
    s.scale.show = 1;
    s.scale.thickness = "3";
    EXPECT_TRUE(Is(Draw(s, false), 40, 21, kGreen));
    s.scale.thickness = "x";
    EXPECT_FALSE(Is(Draw(s, false), 40, 21, kGreen));

    s.scale.fontSize = 30;
    s.scale.length = "20000";
    const QRect ink = BoxWhere(Draw(s, false), Tinted(kBlue));
    ASSERT_TRUE(ink.isValid());
    EXPECT_GT(ink.bottom(), 28);  // the clip box grows with the font
    EXPECT_LE(ink.bottom(), 12 + 30);
}

TEST(ScaleBars, BarShapesForTheRubberBand)
{
    QImage img = BlankImage(100, 100);
    {
        QPainter p(&img);
        p.setPen(QPen(kGreen));
        DrawHorizontalBarShape(p, QPoint(10, 20), 50);
        DrawVerticalBarShape(p, QPoint(80, 10), 40);
    }
    EXPECT_EQ(BoxWhere(img, Exactly(kGreen), QRect(0, 0, 70, 100)), QRect(QPoint(10, 12), QPoint(60, 27)));
    EXPECT_EQ(BoxWhere(img, Exactly(kGreen), QRect(70, 0, 30, 100)), QRect(QPoint(72, 10), QPoint(87, 50)));
    EXPECT_FALSE(Is(img, 80, 49, Qt::black) && Is(img, 80, 30, Qt::black));
}

TEST(ScaleBars, CompositeOverloadChecksTheTab)
{
    Scene s;
    QImage img = BlankImage(320, 160, Qt::white);
    DrawScaleBars(img, s.scale, s.calibration, 2);
    EXPECT_TRUE(Is(img, 60, 10, Qt::white));
    DrawScaleBars(img, s.scale, s.calibration, kCalibrationPageIndex);
    EXPECT_TRUE(Is(img, 60, 10, Qt::black));
}

}  // namespace
}  // namespace orv
