#pragma once
// Numbers typed by the user are kept as texts and read each time they are used.

#include <cstdint>
#include <string_view>

namespace orv {

// Decimal integer scan: leading white space, optional sign, decimal digits.
// "12.7" reads 12, a text without digits reads 0, out-of-range values clamp
// to the int range.
int ReadInt(std::string_view text);

// Decimal floating-point reading of the longest numeric prefix: optional sign,
// digits with an optional decimal point and exponent. Independent of the
// process locale ("12.5" is 12.5 under any LC_NUMERIC). A text that does not
// start with a number reads 0; so do "inf", "nan" and hexadecimal forms, so the
// result is always finite. Overflow clamps to the largest finite magnitude,
// underflow reads 0.
double ReadDecimal(std::string_view text);

// Hexadecimal reading of at most eight digits after optional white space and an
// optional "0x"; reads 0 without digits. Colours in setting files use it.
std::uint32_t ReadHex32(std::string_view text);

}  // namespace orv
