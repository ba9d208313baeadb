#include "measure/units.h"

#include <charconv>
#include <cmath>

namespace orv {
namespace {

constexpr std::array<const char *, kUnitCount> kJapaneseSuffixes{
    "m", "mm", "\u03BCm", "inch", "\u33A1", "m\u33A1", "\u03BC\u33A1", "in2", "\u00B0", "",
};

constexpr std::array<const char *, kUnitCount> kEnglishSuffixes{
    "m", "mm", "um", "inch", "m2", "mm2", "um2", "in2", "degrees", "",
};

// Fixed-point text with the given decimals, always with a '.': the program's
// locale (set from the desktop's) must not turn "7.21" into "7,21".
std::string Fixed(double v, int decimals)
{
    // DBL_MAX has 309 integer digits.
    std::array<char, 400> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed,
                                   decimals);
    if (res.ec != std::errc())
        return {};
    return std::string(buf.data(), res.ptr);
}

double Printable(double v)
{
    return std::isfinite(v) ? v : 0.0;
}

// "%.4f" text of v with its leading zero removed, or nothing when v does not
// print as "0.xxxx" (a value just below 1 rounds to "1.0000").
bool ShortInchText(double v, std::string *out)
{
    std::string s = Fixed(Printable(v), 4);
    std::size_t zero = (!s.empty() && s[0] == '-') ? 1 : 0;
    if (s.size() < zero + 2 || s[zero] != '0' || s[zero + 1] != '.')
        return false;
    s.erase(zero, 1);
    if (s == "-.0000")
        s = ".0000";
    if (out)
        *out = std::move(s);
    return true;
}

}  // namespace

const std::array<const char *, kUnitCount> &UnitSuffixTable(Language lang)
{
    return lang == Language::English ? kEnglishSuffixes : kJapaneseSuffixes;
}

const char *UnitSuffix(int unit, Language lang)
{
    if (unit < 0 || unit >= kUnitCount)
        return "";
    return UnitSuffixTable(lang)[static_cast<std::size_t>(unit)];
}

bool IsShortInchValue(double v, int unit)
{
    return unit == UnitInch && Printable(v) < 1.0 && ShortInchText(v, nullptr);
}

std::string FormatMeasureValue(double v, int unit)
{
    std::string s;
    if (unit == UnitInch && Printable(v) < 1.0 && ShortInchText(v, &s))
        return s;
    s = Fixed(Printable(v), 2);
    if (s == "-0.00")
        s = "0.00";
    return s;
}

std::string FormatValueWithSuffix(double v, int unit, Language lang)
{
    return FormatMeasureValue(v, unit) + UnitSuffix(unit, lang);
}

}  // namespace orv
