#pragma once
// Unit indices every value carries, their suffixes, and the value texts.

#include <array>
#include <string>

#include "measure/language.h"

namespace orv {

// Area units are the length unit plus 4.
enum MeasureUnit : int {
    UnitMetre = 0,
    UnitMillimetre = 1,
    UnitMicrometre = 2,
    UnitInch = 3,
    UnitSquareMetre = 4,
    UnitSquareMillimetre = 5,
    UnitSquareMicrometre = 6,
    UnitSquareInch = 7,
    UnitDegree = 8,
    UnitNone = 9,
};

inline constexpr int kUnitCount = 10;

// The suffix column of the active language (UTF-8).
const std::array<const char *, kUnitCount> &UnitSuffixTable(Language lang);
// "" for an index outside the table.
const char *UnitSuffix(int unit, Language lang);

// True when the value is printed in the short inch form (".0394"): unit 3 and
// the printed number below 1.
bool IsShortInchValue(double v, int unit);

// "%.2f", or in the short inch form "%.4f" without its leading zero.
// A non-finite value prints as zero; a negative zero prints without its sign.
std::string FormatMeasureValue(double v, int unit);

// FormatMeasureValue followed by the unit's suffix ("%.2f%s" / "%s%s").
std::string FormatValueWithSuffix(double v, int unit, Language lang);

}  // namespace orv
