#include "calib/ruler_scale.h"

#include <gtest/gtest.h>

#include <clocale>

#include "comma_locale.h"
#include "core/number_reading.h"

using namespace orv;

namespace {

RulerResult Found(double ppd, double u, double angle, int span)
{
    RulerResult r;
    r.failure = RulerFailure::None;
    r.pixelsPerDivision = ppd;
    r.uPixelsPerDivision = u;
    r.angleDeg = angle;
    for (int i = 0; i <= span; ++i)
        r.tickNumbers.push_back(i);
    r.ticks = span + 1;
    return r;
}

ScaleSetting Current(int link)
{
    ScaleSetting s;
    s.hPixel = "200";
    s.hValue = "100";
    s.vPixel = "300";
    s.vValue = "150";
    s.unit = "um";
    s.link = link;
    return s;
}

}  // namespace

TEST(ScaleFromRuler, TheAxisNearerTheRulerTakesTheFit)
{
    struct Case {
        const char *name;
        double angle;
        int link;
        bool h;
        bool v;
    };
    const Case cases[] = {
        {"level", 0.0, kLinkAsync, true, false},
        {"tilted within 45", -44.0, kLinkAsync, true, false},
        {"vertical", 90.0, kLinkAsync, false, true},
        {"steep", 50.0, kLinkAsync, false, true},
        {"level under Sync", 2.0, kLinkSync, true, true},
        {"vertical under Sync", -88.0, kLinkSync, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ScaleSetting before = Current(c.link);
        const ScaleSetting s = ScaleFromRuler(before, Found(12.34567, 0.0002, c.angle, 100), 10.0, "um");
        // 100 divisions of 10 um span 1234.567 px; u scales with the count.
        EXPECT_EQ(s.hPixel == "1234.567", c.h) << s.hPixel;
        EXPECT_EQ(s.hValue == "1000", c.h) << s.hValue;
        EXPECT_EQ(s.vPixel == "1234.567", c.v) << s.vPixel;
        EXPECT_EQ(s.vValue == "1000", c.v) << s.vValue;
        EXPECT_DOUBLE_EQ(s.hPixelU, c.h ? 0.02 : 0.0);
        EXPECT_DOUBLE_EQ(s.vPixelU, c.v ? 0.02 : 0.0);
        if (!c.h) {
            EXPECT_EQ(s.hPixel, before.hPixel);
        }
    }
}

TEST(ScaleFromRuler, AnotherUnitConvertsTheOtherAxis)
{
    const ScaleSetting s = ScaleFromRuler(Current(kLinkAsync), Found(8.5, 0.001, 0.0, 50), 0.01, "mm");
    EXPECT_EQ(s.unit, "mm");
    EXPECT_EQ(s.hValue, "0.5");
    EXPECT_EQ(s.hPixel, "425");
    EXPECT_EQ(s.vValue, "0.15");  // 150 um
    EXPECT_EQ(s.vPixel, "300");
}

TEST(ScaleFromRuler, NothingChangesWithoutARulerOrASpacing)
{
    RulerResult none;
    const ScaleSetting before = Current(kLinkAsync);
    EXPECT_EQ(ScaleFromRuler(before, none, 10.0, "um"), before);
    EXPECT_EQ(ScaleFromRuler(before, Found(8.5, 0.001, 0.0, 50), 0.0, "um"), before);
    EXPECT_EQ(ScaleFromRuler(before, Found(8.5, 0.001, 0.0, 50), -1.0, "um"), before);
}

TEST(ScaleFromRuler, TextsIgnoreADecimalCommaLocale)
{
    const test::CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no decimal-comma locale";
    const ScaleSetting s = ScaleFromRuler(Current(kLinkAsync), Found(12.25, 0.0, 0.0, 10), 2.5, "um");
    EXPECT_EQ(s.hPixel, "122.5");
    EXPECT_EQ(s.hValue, "25");
    EXPECT_DOUBLE_EQ(ReadDecimal(s.hPixel), 122.5);
}
