#include "core/number_reading.h"

#include <charconv>
#include <limits>

namespace orv {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipSpace(std::string_view t, std::size_t i)
{
    while (i < t.size() && IsSpace(t[i]))
        ++i;
    return i;
}

}  // namespace

int ReadInt(std::string_view text)
{
    std::size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so INT_MIN fits; stop growing at the limit.
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    long long magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative)
        return magnitude >= kLimit ? std::numeric_limits<int>::min() : static_cast<int>(-magnitude);
    return magnitude >= kLimit ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

double ReadDecimal(std::string_view text)
{
    std::size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t mantissaDigits = 0;
    // Decimal exponent of the leading significant digit, for range decisions.
    bool seenSignificant = false;
    std::size_t intDigitsAfterLead = 0;
    while (i < text.size() && IsDigit(text[i])) {
        if (text[i] != '0')
            seenSignificant = true;
        if (seenSignificant)
            ++intDigitsAfterLead;
        ++mantissaDigits;
        ++i;
    }
    long long leadingZerosAfterPoint = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            if (!seenSignificant) {
                if (text[i] == '0')
                    ++leadingZerosAfterPoint;
                else
                    seenSignificant = true;
            }
            ++mantissaDigits;
            ++i;
        }
    }
    if (mantissaDigits == 0)
        return 0.0;
    std::size_t end = i;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j) {
                if (exponent < 1000000)
                    exponent = exponent * 10 + (text[j] - '0');
            }
            if (expNegative)
                exponent = -exponent;
            end = j;
        }
    }
    if (!seenSignificant)
        return 0.0;
    long long leadingExponent = intDigitsAfterLead > 0 ? static_cast<long long>(intDigitsAfterLead) - 1
                                             : -(leadingZerosAfterPoint + 1);
    leadingExponent += exponent;

    double value = 0.0;
    const std::string_view number = text.substr(start, end - start);
    const auto res = std::from_chars(number.data(), number.data() + number.size(), value,
                                     std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        value = leadingExponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (res.ec != std::errc()) {
        value = 0.0;
    }
    if (!(value <= std::numeric_limits<double>::max()))  // inf or nan never leave
        value = std::numeric_limits<double>::max();
    return negative ? -value : value;
}

std::uint32_t ReadHex32(std::string_view text)
{
    std::size_t i = SkipSpace(text, 0);
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    std::uint32_t value = 0;
    for (int n = 0; n < 8 && i < text.size(); ++n, ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

}  // namespace orv
