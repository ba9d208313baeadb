#include "measure/units.h"

#include "tests/support/comma_locale.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <cmath>
#include <limits>
#include <string>

using namespace orv;

namespace {

// Bytes of a UTF-8 text in code page 932, as setting files and CSV store them.
std::string ToCp932(const std::string &utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "<no iconv>";
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char *src = in.data();
    char *dst = out.data();
    size_t srcLeft = in.size();
    size_t dstLeft = out.size();
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        return "<unconvertible>";
    out.resize(out.size() - dstLeft);
    return out;
}

}  // namespace

TEST(UnitsTest, SuffixTablesOfBothLanguages)
{
    const char *english[] = {"m", "mm", "um", "inch", "m2", "mm2", "um2", "in2", "degrees", ""};
    for (int u = 0; u < kUnitCount; ++u)
        EXPECT_STREQ(UnitSuffix(u, Language::English), english[u]) << u;
    EXPECT_STREQ(UnitSuffix(UnitMillimetre, Language::Japanese), "mm");
    EXPECT_STREQ(UnitSuffix(UnitInch, Language::Japanese), "inch");
    EXPECT_STREQ(UnitSuffix(UnitSquareInch, Language::Japanese), "in2");
    EXPECT_STREQ(UnitSuffix(UnitNone, Language::Japanese), "");
    EXPECT_STREQ(UnitSuffix(-1, Language::English), "");
    EXPECT_STREQ(UnitSuffix(kUnitCount, Language::Japanese), "");
}

TEST(UnitsTest, JapaneseSuffixesEncodeToTheStoredCodePageBytes)
{
    // Greek mu (not the micro sign), square metre sign, degree sign.
    EXPECT_EQ(ToCp932(UnitSuffix(UnitMicrometre, Language::Japanese)), "\x83\xCA\x6D");
    EXPECT_EQ(ToCp932(UnitSuffix(UnitSquareMetre, Language::Japanese)), "\x87\x75");
    EXPECT_EQ(ToCp932(UnitSuffix(UnitSquareMillimetre, Language::Japanese)), "m\x87\x75");
    EXPECT_EQ(ToCp932(UnitSuffix(UnitSquareMicrometre, Language::Japanese)), "\x83\xCA\x87\x75");
    EXPECT_EQ(ToCp932(UnitSuffix(UnitDegree, Language::Japanese)), "\x81\x8B");
}

TEST(UnitsTest, FormatOrdinaryValues)
{
    EXPECT_EQ(FormatMeasureValue(5.0, UnitMillimetre), "5.00");
    EXPECT_EQ(FormatMeasureValue(7.2111, UnitMicrometre), "7.21");
    EXPECT_EQ(FormatMeasureValue(0.5, UnitMillimetre), "0.50");
    EXPECT_EQ(FormatMeasureValue(0.5, UnitSquareInch), "0.50");  // only unit 3 is shortened
    EXPECT_EQ(FormatMeasureValue(1e20, UnitMicrometre), "100000000000000000000.00");
    EXPECT_EQ(FormatMeasureValue(-2.5, UnitDegree), "-2.50");
    EXPECT_EQ(FormatMeasureValue(-0.001, UnitMillimetre), "0.00");
}

TEST(UnitsTest, FormatInchValues)
{
    EXPECT_EQ(FormatMeasureValue(0.0394, UnitInch), ".0394");
    EXPECT_TRUE(IsShortInchValue(0.0394, UnitInch));
    EXPECT_EQ(FormatMeasureValue(1.5, UnitInch), "1.50");
    EXPECT_FALSE(IsShortInchValue(1.5, UnitInch));
    EXPECT_EQ(FormatMeasureValue(0.0, UnitInch), ".0000");
    // Just below 1 prints as 1: the ordinary form, never ".0000".
    EXPECT_EQ(FormatMeasureValue(0.99999, UnitInch), "1.00");
    EXPECT_FALSE(IsShortInchValue(0.99999, UnitInch));
    // A negative value keeps its sign.
    EXPECT_EQ(FormatMeasureValue(-0.5, UnitInch), "-.5000");
    EXPECT_EQ(FormatMeasureValue(-0.00001, UnitInch), ".0000");
    EXPECT_FALSE(IsShortInchValue(0.0394, UnitMillimetre));

    EXPECT_EQ(FormatValueWithSuffix(0.0394, UnitInch, Language::English), ".0394inch");
    EXPECT_EQ(FormatValueWithSuffix(1.5, UnitInch, Language::Japanese), "1.50inch");
    EXPECT_EQ(FormatValueWithSuffix(3.0, UnitMicrometre, Language::Japanese), "3.00\u03BCm");
    EXPECT_EQ(FormatValueWithSuffix(90.0, UnitDegree, Language::English), "90.00degrees");
}

TEST(UnitsTest, NonFiniteValuesPrintAsZero)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int unit : {UnitMillimetre, UnitInch, UnitSquareMicrometre, UnitDegree}) {
        EXPECT_EQ(FormatMeasureValue(nan, unit), FormatMeasureValue(0.0, unit)) << unit;
        EXPECT_EQ(FormatMeasureValue(inf, unit), FormatMeasureValue(0.0, unit)) << unit;
        EXPECT_EQ(FormatMeasureValue(-inf, unit), FormatMeasureValue(0.0, unit)) << unit;
    }
    EXPECT_EQ(FormatValueWithSuffix(nan, UnitMillimetre, Language::English), "0.00mm");
}

TEST(UnitsTest, ValueTextsKeepThePointUnderACommaLocale)
{
    orv::test::CommaDecimalLocale comma;
    if (!comma.active())
        GTEST_SKIP() << "no locale with a decimal comma available";
    EXPECT_EQ(FormatMeasureValue(7.2111, UnitMicrometre), "7.21");
    EXPECT_EQ(FormatMeasureValue(0.0394, UnitInch), ".0394");
    EXPECT_TRUE(IsShortInchValue(0.0394, UnitInch));
    EXPECT_EQ(FormatValueWithSuffix(0.5, UnitInch, Language::English), ".5000inch");
    EXPECT_EQ(FormatValueWithSuffix(1e20, UnitMillimetre, Language::English),
              "100000000000000000000.00mm");
}
