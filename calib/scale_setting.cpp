#include "calib/scale_setting.h"

#include <cmath>
#include <limits>
#include <optional>

#include "core/number_reading.h"

namespace orv {
namespace {

// Length of one unit in micrometres (whole numbers, so that conversions which
// come out whole are not truncated one below); the two micrometre spellings
// are one unit. nullopt for a unit text outside the table.
std::optional<double> MicrometresPerUnit(std::string_view u)
{
    if (u == kUnitMm)
        return 1000.0;
    if (u == kUnitMicroJa || u == kUnitMicroEn)
        return 1.0;
    if (u == kUnitInch)
        return 25400.0;  // 25.4 mm exactly
    return std::nullopt;
}

// Length per pixel on one axis; 1.0 when the pixel count reads 0 or below or
// the quotient is not finite. A length is taken as it reads: a file's "0"
// makes every value on that axis 0, as the fields then show.
double AxisFactor(std::string_view pixel, std::string_view value)
{
    const double p = ReadDecimal(pixel);
    if (!(p > 0.0))
        return 1.0;
    const double f = ReadDecimal(value) / p;
    return std::isfinite(f) ? f : 1.0;
}

// The length is exact, so the factor's relative uncertainty is the pixel
// count's.
double AxisFactorUncertainty(double factor, std::string_view pixel, double pixelU)
{
    const double p = ReadDecimal(pixel);
    if (!(p > 0.0) || !(pixelU > 0.0))
        return 0.0;
    const double u = factor * pixelU / p;
    return std::isfinite(u) ? u : 0.0;
}

// The end coordinate start + length without overflowing.
int EndCoordinate(int start, int length)
{
    const long long end = static_cast<long long>(start) + length;
    if (end > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (end < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(end);
}

void SetBarPoints(MeasureItem &bar, QPoint start, QPoint end)
{
    bar.kind = KindStandardScale;
    bar.lineWidth = 1;
    bar.lineColor = 0;
    bar.points.clear();
    AppendPoint(bar, start);
    AppendPoint(bar, end);
}

}  // namespace

std::string_view DefaultUnitText(Language lang)
{
    return lang == Language::English ? kUnitMicroEn : kUnitMicroJa;
}

std::string_view UnitTextAt(int index, Language lang)
{
    switch (index) {
    case 0:
        return kUnitMm;
    case 2:
        return kUnitInch;
    default:
        return DefaultUnitText(lang);
    }
}

int UnitIndexOf(std::string_view unit)
{
    if (unit == kUnitMm)
        return 1;
    if (unit == kUnitInch)
        return 3;
    return 2;
}

int ScaleLengthToPixels(std::string_view pixel, std::string_view length, std::string_view unit,
                        std::string_view length2, std::string_view unit2)
{
    const double a = ReadDecimal(pixel);
    const double b = ReadDecimal(length);
    const double c = ReadDecimal(length2);
    double r;
    const std::optional<double> from = MicrometresPerUnit(unit);
    const std::optional<double> to = MicrometresPerUnit(unit2);
    if (unit == unit2)
        r = c * a / b;
    else if (from && to)
        r = c * a * *to / (b * *from);
    else
        return 100;
    // A length reading 0 divides by zero: keep the table's fallback length.
    if (!std::isfinite(r))
        return 100;
    r = std::trunc(r);
    if (r > kMaxScalePixels)
        return kMaxScalePixels;
    if (r < -kMaxScalePixels)
        return -kMaxScalePixels;
    return static_cast<int>(r);
}

ScaleSetting ScaleSetting::Defaults(Language lang)
{
    ScaleSetting s;
    s.unit = std::string(DefaultUnitText(lang));
    return s;
}

ScaleFactors ScaleSetting::Factors() const
{
    ScaleFactors f;
    f.sx = AxisFactor(hPixel, hValue);
    f.sy = AxisFactor(vPixel, vValue);
    f.unit = unitIndex();
    f.uncertainty.click = clickU;
    f.uncertainty.sx = AxisFactorUncertainty(f.sx, hPixel, hPixelU);
    f.uncertainty.sy = AxisFactorUncertainty(f.sy, vPixel, vPixelU);
    f.uncertainty.sameScale = link == kLinkSync;
    return f;
}

bool ApplyMinimumValue(std::string &text)
{
    if (ReadInt(text) < 1 && !(ReadDecimal(text) > 0.0)) {
        text.assign(1, '1');  // not = "1": GCC 12 warns falsely (-Wrestrict)
        return true;
    }
    return false;
}

void SwitchToSync(ScaleSetting &s)
{
    s.vPixel = s.hPixel;
    s.vPixelU = s.hPixelU;
    s.vValue = s.hValue;
    s.link = kLinkSync;
}

void SwitchToAsync(ScaleSetting &s)
{
    s.link = kLinkAsync;
}

bool CommitHValue(ScaleSetting &s)
{
    const bool replaced = ApplyMinimumValue(s.hValue);
    if (s.link == kLinkSync)
        s.vValue = s.hValue;
    return replaced;
}

bool CommitVValue(ScaleSetting &s)
{
    return ApplyMinimumValue(s.vValue);
}

bool CommitValues(ScaleSetting &s)
{
    const bool h = ApplyMinimumValue(s.hValue);
    const bool v = ApplyMinimumValue(s.vValue);
    if (s.link == kLinkSync)
        s.vValue = s.hValue;
    return h || v;
}

void SetHorizontalBarEnd(ScaleSetting &s, QPoint start, int length)
{
    s.hStart = start;
    s.hPixel = std::to_string(length);
    s.hPixelU = kBarPixelUncertainty;
    if (s.link == kLinkSync) {
        s.vPixel = s.hPixel;
        s.vPixelU = s.hPixelU;
    }
}

void SetVerticalBarEnd(ScaleSetting &s, QPoint start, int length)
{
    s.vStart = start;
    s.vPixel = std::to_string(length);
    s.vPixelU = kBarPixelUncertainty;
    if (s.link == kLinkSync) {
        s.hPixel = s.vPixel;
        s.hPixelU = s.vPixelU;
    }
}

MeasureItem MakeHorizontalBar(const ScaleSetting &s)
{
    MeasureItem bar;
    UpdateHorizontalBar(bar, s);
    return bar;
}

MeasureItem MakeVerticalBar(const ScaleSetting &s)
{
    MeasureItem bar;
    UpdateVerticalBar(bar, s);
    return bar;
}

void UpdateHorizontalBar(MeasureItem &bar, const ScaleSetting &s)
{
    SetBarPoints(bar, s.hStart, QPoint(EndCoordinate(s.hStart.x(), ReadInt(s.hPixel)), s.hStart.y()));
}

void UpdateVerticalBar(MeasureItem &bar, const ScaleSetting &s)
{
    SetBarPoints(bar, s.vStart, QPoint(s.vStart.x(), EndCoordinate(s.vStart.y(), ReadInt(s.vPixel))));
}

CalibrationBars CalibrationBars::Build(const ScaleSetting &s)
{
    return CalibrationBars{MakeHorizontalBar(s), MakeVerticalBar(s)};
}

void CalibrationBars::Update(const ScaleSetting &s)
{
    UpdateHorizontalBar(horizontal, s);
    UpdateVerticalBar(vertical, s);
}

}  // namespace orv
