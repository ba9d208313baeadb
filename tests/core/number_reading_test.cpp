#include "core/number_reading.h"

#include <gtest/gtest.h>

#include "tests/support/comma_locale.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

using namespace orv;

TEST(ReadInt, ScansLikeDecimalIntegerConversion)
{
    EXPECT_EQ(ReadInt(""), 0);
    EXPECT_EQ(ReadInt(" 12"), 12);
    EXPECT_EQ(ReadInt("\t\n+7x"), 7);
    EXPECT_EQ(ReadInt("1e3"), 1);
    EXPECT_EQ(ReadInt("abc"), 0);
    EXPECT_EQ(ReadInt("-3"), -3);
    EXPECT_EQ(ReadInt("12.7"), 12);
    EXPECT_EQ(ReadInt("0.5"), 0);
    EXPECT_EQ(ReadInt("- 3"), 0);
    EXPECT_EQ(ReadInt("0x1F"), 0);
}

TEST(ReadInt, ClampsOutOfRangeInsteadOfOverflowing)
{
    EXPECT_EQ(ReadInt("2147483647"), std::numeric_limits<int>::max());
    EXPECT_EQ(ReadInt("2147483648"), std::numeric_limits<int>::max());
    EXPECT_EQ(ReadInt("-2147483648"), std::numeric_limits<int>::min());
    EXPECT_EQ(ReadInt("-99999999999999999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(ReadInt(std::string(5000, '9')), std::numeric_limits<int>::max());
}

TEST(ReadDecimal, ReadsTheNumericPrefix)
{
    EXPECT_EQ(ReadDecimal(""), 0.0);
    EXPECT_EQ(ReadDecimal(" 12"), 12.0);
    EXPECT_EQ(ReadDecimal("1e3"), 1000.0);
    EXPECT_EQ(ReadDecimal("abc"), 0.0);
    EXPECT_EQ(ReadDecimal("-3"), -3.0);
    EXPECT_EQ(ReadDecimal("12.7"), 12.7);
    EXPECT_EQ(ReadDecimal("0.5"), 0.5);
    EXPECT_EQ(ReadDecimal(".5"), 0.5);
    EXPECT_EQ(ReadDecimal("5."), 5.0);
    EXPECT_EQ(ReadDecimal("100.50um"), 100.5);
    EXPECT_EQ(ReadDecimal("2e"), 2.0);    // exponent without digits is not part of the number
    EXPECT_EQ(ReadDecimal("2e+x"), 2.0);
    EXPECT_EQ(ReadDecimal("+1.5E-1"), 0.15);
    EXPECT_EQ(ReadDecimal("."), 0.0);
    EXPECT_EQ(ReadDecimal("-"), 0.0);
}

TEST(ReadDecimal, NeverYieldsNonFiniteValues)
{
    for (const char *t : {"inf", "-inf", "INFINITY", "nan", "NaN(123)", "0x1p4"}) {
        const double v = ReadDecimal(t);
        EXPECT_TRUE(std::isfinite(v)) << t;
        EXPECT_EQ(v, 0.0) << t;
    }
    EXPECT_EQ(ReadDecimal("1e999"), std::numeric_limits<double>::max());
    EXPECT_EQ(ReadDecimal("-1e999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(ReadDecimal("1e-999"), 0.0);
    EXPECT_EQ(ReadDecimal("0.0000001e-400"), 0.0);
    EXPECT_EQ(ReadDecimal("1" + std::string(400, '0')), std::numeric_limits<double>::max());
    EXPECT_EQ(ReadDecimal("0." + std::string(400, '0') + "1e400"), 0.1);
}

TEST(ReadDecimal, IgnoresTheProcessLocale)
{
    double point = 0;
    double comma = 0;
    {
        test::CommaDecimalLocale german;
        if (!german.active())
            GTEST_SKIP() << "no comma-decimal locale available";
        point = ReadDecimal("12.5");
        comma = ReadDecimal("12,5");
    }
    EXPECT_EQ(point, 12.5);
    EXPECT_EQ(comma, 12.0);
}

TEST(ReadHex32, ReadsAtMostEightDigits)
{
    EXPECT_EQ(ReadHex32("00FFFF00"), 0x00FFFF00u);
    EXPECT_EQ(ReadHex32("000000ff"), 0x000000FFu);
    EXPECT_EQ(ReadHex32(" 0xF0F0F0"), 0x00F0F0F0u);
    EXPECT_EQ(ReadHex32("123456789"), 0x12345678u);
    EXPECT_EQ(ReadHex32("FFFFFFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadHex32("12G4"), 0x12u);
    EXPECT_EQ(ReadHex32(""), 0u);
    EXPECT_EQ(ReadHex32("zz"), 0u);
}
