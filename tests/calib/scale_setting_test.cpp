#include "calib/scale_setting.h"
#include "calib/standard_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace orv;

namespace {
const std::string kMu = "\xCE\xBCm";  // μm
}

TEST(ScaleSetting, DefaultsPerLanguage)
{
    const ScaleSetting ja = ScaleSetting::Defaults(Language::Japanese);
    EXPECT_EQ(ja.unit, kMu);
    EXPECT_EQ(ja.hPixel, "100");
    EXPECT_EQ(ja.vValue, "100");
    EXPECT_EQ(ja.link, kLinkAsync);
    EXPECT_EQ(ja.hStart, QPoint(10, 10));
    EXPECT_EQ(ja.vStart, QPoint(10, 10));
    EXPECT_EQ(ScaleSetting::Defaults(Language::English).unit, "um");
    EXPECT_EQ(UnitTextAt(1, Language::English), "um");
    EXPECT_EQ(UnitTextAt(1, Language::Japanese), kMu);
    EXPECT_EQ(UnitTextAt(0, Language::Japanese), "mm");
    EXPECT_EQ(UnitTextAt(2, Language::English), "inch");
}

TEST(ScaleSetting, UnitIndexOfUnitTexts)
{
    EXPECT_EQ(UnitIndexOf("mm"), 1);
    EXPECT_EQ(UnitIndexOf(kMu), 2);
    EXPECT_EQ(UnitIndexOf("um"), 2);
    EXPECT_EQ(UnitIndexOf("inch"), 3);
    EXPECT_EQ(UnitIndexOf("cm"), 2);
    EXPECT_EQ(UnitIndexOf("MM"), 2);  // case-sensitive
    EXPECT_EQ(UnitIndexOf(""), 2);
}

TEST(ScaleLengthToPixels, ConversionTableRows)
{
    EXPECT_EQ(ScaleLengthToPixels("100", "100", kMu, "200", kMu), 200);
    EXPECT_EQ(ScaleLengthToPixels("100", "1", "mm", "200", "um"), 20);
    EXPECT_EQ(ScaleLengthToPixels("100", "1", "mm", "200", kMu), 20);
    EXPECT_EQ(ScaleLengthToPixels("100", "100", "um", "1", "mm"), 1000);
    EXPECT_EQ(ScaleLengthToPixels("100", "1", "inch", "1", "mm"), 3);  // 3.94 truncated
    EXPECT_EQ(ScaleLengthToPixels("100", "1", "mm", "1", "inch"), 2540);
    EXPECT_EQ(ScaleLengthToPixels("100", "1", "inch", "200", "um"), 0);  // 0.79
    EXPECT_EQ(ScaleLengthToPixels("100", "100", kMu, "1", "inch"), 25400);
    EXPECT_EQ(ScaleLengthToPixels("100", "100", "cm", "3", "cm"), 3);
}

TEST(ScaleLengthToPixels, PairsOutsideTheTableGive100)
{
    // The two micrometre spellings are one unit, not a pair outside the table.
    EXPECT_EQ(ScaleLengthToPixels("100", "100", kMu, "200", "um"), 200);
    EXPECT_EQ(ScaleLengthToPixels("100", "100", "um", "200", kMu), 200);
    EXPECT_EQ(ScaleLengthToPixels("100", "100", "cm", "200", "um"), 100);
    EXPECT_EQ(ScaleLengthToPixels("100", "100", "inch", "1", "cm"), 100);
}

// Each case converts through 1 inch = 25.4 mm = 25400 um; the expected count
// is worked out here from that definition.
TEST(ScaleLengthToPixels, ConvertsWithTheExactInch)
{
    struct Case {
        const char *pixel;
        const char *length;
        std::string unit;
        const char *length2;
        std::string unit2;
        double lengthUm;   // the calibration's length in um
        double length2Um;  // the converted length in um
    };
    const Case cases[] = {
        {"1000", "1", "inch", "100", "mm", 25400, 100000},
        {"1000", "1", "inch", "2500", "um", 25400, 2500},
        {"1000", "1", "inch", "2500", kMu, 25400, 2500},
        {"254", "10", "mm", "3", "inch", 10000, 3 * 25400},
        {"500", "300", kMu, "2", "inch", 300, 2 * 25400},
        {"100", "10.7", kMu, "1", "inch", 10.7, 25400},
        {"700", "7", "um", "123", kMu, 7, 123},
    };
    for (const Case &c : cases) {
        const double want = std::trunc(std::atof(c.pixel) * c.length2Um / c.lengthUm);
        EXPECT_EQ(ScaleLengthToPixels(c.pixel, c.length, c.unit, c.length2, c.unit2), want)
            << c.pixel << " px = " << c.length << c.unit << ", " << c.length2 << c.unit2;
    }
}

TEST(StandardScale, HundredMillimetresUnderAnInchCalibration)
{
    ScaleSetting calibration;
    calibration.hPixel = "1000";
    calibration.hValue = "1";
    calibration.unit = "inch";
    StandardScale s;
    s.length = "100";
    s.lengthUnit = "mm";
    s.updatePixelLength(calibration);
    EXPECT_EQ(s.pixelLength, 3937);  // 100 / 25.4 * 1000 = 3937.0
}

TEST(ScaleLengthToPixels, DegenerateReadingsStayInRange)
{
    EXPECT_EQ(ScaleLengthToPixels("100", "0", "mm", "1", "mm"), 100);    // division by zero
    EXPECT_EQ(ScaleLengthToPixels("0", "0", "mm", "0", "mm"), 100);      // 0 / 0
    EXPECT_EQ(ScaleLengthToPixels("1e300", "1e-300", "mm", "1e300", "mm"), 100);  // overflows to infinity
    EXPECT_EQ(ScaleLengthToPixels("1e100", "1", "mm", "1e100", "mm"), kMaxScalePixels);
    EXPECT_EQ(ScaleLengthToPixels("-1e100", "1", "mm", "1e10", "mm"), -kMaxScalePixels);
    EXPECT_EQ(ScaleLengthToPixels("-100", "1", "mm", "2", "mm"), -200);  // used as it reads
}

TEST(ScaleSetting, FactorsFollowTheDecimalReadings)
{
    ScaleSetting s;
    s.hPixel = "200";
    s.hValue = "50";
    s.vPixel = "1e2";
    s.vValue = "12.5";
    s.unit = "mm";
    const ScaleFactors f = s.Factors();
    EXPECT_DOUBLE_EQ(f.sx, 0.25);
    EXPECT_DOUBLE_EQ(f.sy, 0.125);
    EXPECT_EQ(f.unit, 1);
}

TEST(ScaleSetting, FactorsFallBackToOneUnitPerPixelForUnusablePixelCounts)
{
    for (const char *pixel : {"0", "-5", "abc", "", "inf", "nan", "1e-320"}) {
        ScaleSetting s;
        s.hPixel = pixel;
        s.hValue = "1e308";
        s.vPixel = "100";
        s.vValue = "50";
        const ScaleFactors f = s.Factors();
        EXPECT_EQ(f.sx, 1.0) << pixel;
        EXPECT_DOUBLE_EQ(f.sy, 0.5) << pixel;
    }
    ScaleSetting huge;
    huge.vValue = "1e308";
    huge.vPixel = "1e-300";
    EXPECT_EQ(huge.Factors().sy, 1.0);
}

TEST(ScaleSetting, LengthsReadingZeroOrBelowAreUsedAsTheyRead)
{
    // Only a commit replaces such lengths; a file's value stays as the fields show it.
    const struct {
        const char *value;
        double sy;
    } cases[] = {{"0", 0.0}, {"x", 0.0}, {"-3", -0.03}, {"0.5", 0.005}};
    for (const auto &c : cases) {
        ScaleSetting s;
        s.vValue = c.value;
        s.vPixel = "100";
        const ScaleFactors f = s.Factors();
        EXPECT_DOUBLE_EQ(f.sy, c.sy) << c.value;
        EXPECT_DOUBLE_EQ(f.sx, 1.0) << c.value;
    }
}

TEST(MinimumValue, ReplacesLengthsNotAboveZero)
{
    for (const char *bad : {"0", "-3", "abc", "", "0.0", "-0.5", ".", "inf", "nan", "-1e9"}) {
        std::string t = bad;
        EXPECT_TRUE(ApplyMinimumValue(t)) << bad;
        EXPECT_EQ(t, "1") << bad;
    }
    for (const char *good : {"0.5", ".5", "1", "100.50", "1e3", "7abc", "0.0001"}) {
        std::string t = good;
        EXPECT_FALSE(ApplyMinimumValue(t)) << good;
        EXPECT_EQ(t, good);
    }
}

TEST(LinkRule, SwitchingToSyncCopiesTheHorizontalScale)
{
    ScaleSetting s;
    s.hPixel = "120";
    s.hValue = "50";
    s.vPixel = "80";
    s.vValue = "30";
    CalibrationBars bars = CalibrationBars::Build(s);
    EXPECT_EQ(bars.vertical.points[1].pos, QPoint(10, 90));
    SwitchToSync(s);
    bars.Update(s);
    EXPECT_EQ(s.link, kLinkSync);
    EXPECT_EQ(s.vPixel, "120");
    EXPECT_EQ(s.vValue, "50");
    EXPECT_EQ(bars.vertical.points[1].pos, QPoint(10, 130));

    s.vValue = "7";
    SwitchToAsync(s);
    EXPECT_EQ(s.link, kLinkAsync);
    EXPECT_EQ(s.vValue, "7");  // switching back changes nothing
}

TEST(LinkRule, CommitsAndDragsFollowTheLink)
{
    ScaleSetting s;
    SwitchToSync(s);
    s.hValue = "0";
    EXPECT_TRUE(CommitHValue(s));
    EXPECT_EQ(s.hValue, "1");
    EXPECT_EQ(s.vValue, "1");
    s.hValue = "25";
    EXPECT_FALSE(CommitValues(s));
    EXPECT_EQ(s.vValue, "25");

    SetVerticalBarEnd(s, QPoint(40, 50), 150);
    EXPECT_EQ(s.vStart, QPoint(40, 50));
    EXPECT_EQ(s.vPixel, "150");
    EXPECT_EQ(s.hPixel, "150");
    SetHorizontalBarEnd(s, QPoint(5, 6), 90);
    EXPECT_EQ(s.vPixel, "90");

    SwitchToAsync(s);
    SetHorizontalBarEnd(s, QPoint(5, 6), 70);
    EXPECT_EQ(s.hPixel, "70");
    EXPECT_EQ(s.vPixel, "90");
    s.hValue = "3";
    s.vValue = "-1";
    EXPECT_TRUE(CommitValues(s));
    EXPECT_EQ(s.hValue, "3");
    EXPECT_EQ(s.vValue, "1");
    s.vValue = "0.5";
    EXPECT_FALSE(CommitVValue(s));
}

TEST(CalibrationBars, BuiltFromTheSetting)
{
    ScaleSetting s;
    s.hPixel = "12.7";
    s.hStart = QPoint(3, 4);
    const CalibrationBars bars = CalibrationBars::Build(s);
    for (const MeasureItem *bar : {&bars.horizontal, &bars.vertical}) {
        EXPECT_EQ(bar->kind, KindStandardScale);
        EXPECT_EQ(bar->lineWidth, 1);
        EXPECT_EQ(bar->lineColor, 0u);
        ASSERT_EQ(bar->points.size(), 2u);
    }
    EXPECT_EQ(bars.horizontal.points[0].pos, QPoint(3, 4));
    EXPECT_EQ(bars.horizontal.points[1].pos, QPoint(15, 4));
    EXPECT_EQ(bars.vertical.points[0].pos, QPoint(10, 10));
    EXPECT_EQ(bars.vertical.points[1].pos, QPoint(10, 110));

    s.hStart = QPoint(2147483600, 0);
    s.hPixel = "999999999";
    EXPECT_EQ(MakeHorizontalBar(s).points[1].pos.x(), 2147483647);  // no overflow
}
