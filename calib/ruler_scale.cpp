#include "calib/ruler_scale.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "core/number_reading.h"

namespace orv {
namespace {

std::optional<double> Micrometres(const std::string &u)
{
    if (u == kUnitMm)
        return 1000.0;
    if (u == kUnitMicroJa || u == kUnitMicroEn)
        return 1.0;
    if (u == kUnitInch)
        return 25400.0;
    return std::nullopt;
}

}  // namespace

RulerAxis AxisOfRuler(const RulerResult &r)
{
    return std::abs(r.angleDeg) <= 45.0 ? RulerAxis::Horizontal : RulerAxis::Vertical;
}

std::string DecimalText(double v, int decimals)
{
    if (!std::isfinite(v))
        return "0";
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (res.ec != std::errc())
        return "0";
    std::string s(buf, res.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0')
            s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

ScaleSetting ScaleFromRuler(const ScaleSetting &current, const RulerResult &r, double spacing,
                            const std::string &unit)
{
    ScaleSetting s = current;
    if (!r.found() || !(spacing > 0.0) || !std::isfinite(spacing) || unit.empty())
        return s;
    const int divisions = std::max(1, r.span());
    // The pixel count carries the fit's precision; the bars read its whole part.
    const std::string pixels = DecimalText(r.pixelsPerDivision * divisions, 4);
    const std::string length = DecimalText(spacing * divisions, 6);
    const double u = r.uPixelsPerDivision * divisions;
    if (unit != s.unit) {
        const std::optional<double> from = Micrometres(s.unit);
        const std::optional<double> to = Micrometres(unit);
        if (from && to) {
            const double k = *from / *to;
            s.hValue = DecimalText(ReadDecimal(s.hValue) * k, 6);
            s.vValue = DecimalText(ReadDecimal(s.vValue) * k, 6);
        }
        s.unit = unit;
    }
    const RulerAxis axis = AxisOfRuler(r);
    if (s.link == kLinkSync || axis == RulerAxis::Horizontal) {
        s.hPixel = pixels;
        s.hValue = length;
        s.hPixelU = u;
    }
    if (s.link == kLinkSync || axis == RulerAxis::Vertical) {
        s.vPixel = pixels;
        s.vValue = length;
        s.vPixelU = u;
    }
    return s;
}

}  // namespace orv
