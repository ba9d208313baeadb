#pragma once
// The calibration: a horizontal and a vertical scale, each a pixel count equal
// to a length, one unit for both, and the link between the two scales.

#include <QPoint>
#include <QSize>

#include <string>
#include <string_view>

#include "measure/language.h"
#include "measure/measure_item.h"
#include "measure/values.h"

namespace orv {

enum ScaleLink : int { kLinkSync = 0, kLinkAsync = 1 };

// Unit texts (UTF-8 in memory; "μm" is U+03BC followed by 'm').
inline constexpr std::string_view kUnitMm = "mm";
inline constexpr std::string_view kUnitMicroJa = "\xCE\xBCm";
inline constexpr std::string_view kUnitMicroEn = "um";
inline constexpr std::string_view kUnitInch = "inch";

// "μm" with Japanese texts, "um" with English texts.
std::string_view DefaultUnitText(Language lang);

// Unit combo box entries by position: "mm", "μm" (English "um"), "inch".
std::string_view UnitTextAt(int index, Language lang);

// Unit index of a unit text: "mm" 1, "μm" or "um" 2, "inch" 3, anything else 2.
// Texts compare byte for byte and case-sensitively.
int UnitIndexOf(std::string_view unit);

// Largest magnitude a pixel length computed here may take, so that callers can
// still add an image position to it without overflowing an int.
inline constexpr int kMaxScalePixels = 1 << 30;

// Pixels that length2 (in unit2) spans under the scale "pixel pixels = length
// in unit", truncated toward zero, with 1 inch = 25.4 mm. Two equal unit texts
// need no table; any other pair outside the mm, μm / um, inch table gives 100. A result that is not finite (a length reading 0) also gives 100; larger
// results clamp to +-kMaxScalePixels.
int ScaleLengthToPixels(std::string_view pixel, std::string_view length, std::string_view unit,
                        std::string_view length2, std::string_view unit2);

// A bar's length after a drag: each end somewhere in its pixel (+-0.5 px,
// uniform), sqrt(2) x 0.5 / sqrt(3).
inline constexpr double kBarPixelUncertainty = 0.408248290463863;

struct ScaleSetting {
    std::string hPixel = "100";
    std::string hValue = "100";
    std::string vPixel = "100";
    std::string vValue = "100";
    std::string unit = std::string(kUnitMicroJa);
    int link = kLinkAsync;
    QPoint hStart{10, 10};
    QPoint vStart{10, 10};
    // Standard uncertainty of each pixel count, in pixels: 0 for typed values
    // unless stated, about 0.41 after a bar drag (+-0.5 px at each end), a
    // fit's standard error after a ruler. Not kept in scale files.
    double hPixelU = 0.0;
    double vPixelU = 0.0;
    // Standard uncertainty of each clicked coordinate, in pixels.
    double clickU = kDefaultClickUncertainty;
    // Size of the image the pixel counts were taken on; empty when unknown.
    // Not kept in scale files (the index beside them keeps it).
    QSize madeAt;

    // Start-up defaults, also restored by the default entry of the file list.
    static ScaleSetting Defaults(Language lang);

    int unitIndex() const { return UnitIndexOf(unit); }

    // Length per pixel on each axis and the unit index. An axis whose pixel
    // count reads 0 or below, or whose quotient is not finite, falls back to 1.0
    // (one unit per pixel): such values only come from hand-edited files, and
    // the fallback keeps every value finite. Lengths are used as they read.
    ScaleFactors Factors() const;

    bool operator==(const ScaleSetting &) const = default;
};

// Length texts below the smallest value ("0", "-3", "abc", "") become "1";
// returns true when the text was replaced. "0.5" stays.
bool ApplyMinimumValue(std::string &text);

// Link rule and commits. Each returns true when a minimum-value replacement
// happened (the page then shows its message once).
void SwitchToSync(ScaleSetting &s);   // vPixel := hPixel, vValue := hValue, link 0
void SwitchToAsync(ScaleSetting &s);  // link 1, no value changes
bool CommitHValue(ScaleSetting &s);   // minimum rule on hValue; copied to vValue under Sync
bool CommitVValue(ScaleSetting &s);   // minimum rule on vValue
bool CommitValues(ScaleSetting &s);   // both, then the Sync copy (the page's full commit)

// End of a drag of a bar's end point: the bar's start and new length in pixels.
// Under Sync the other axis takes the same pixel count. The pixel count's
// uncertainty becomes a bar's.
void SetHorizontalBarEnd(ScaleSetting &s, QPoint start, int length);
void SetVerticalBarEnd(ScaleSetting &s, QPoint start, int length);

// The two calibration bars as drawn on the image: kind KindStandardScale, two
// points, lineWidth 1, lineColor 0. Their ends follow the integer readings of
// the pixel counts.
struct CalibrationBars {
    MeasureItem horizontal;
    MeasureItem vertical;

    static CalibrationBars Build(const ScaleSetting &s);
    // Rewrites both bars' points from the setting.
    void Update(const ScaleSetting &s);

    bool operator==(const CalibrationBars &) const = default;
};

MeasureItem MakeHorizontalBar(const ScaleSetting &s);
MeasureItem MakeVerticalBar(const ScaleSetting &s);
void UpdateHorizontalBar(MeasureItem &bar, const ScaleSetting &s);
void UpdateVerticalBar(MeasureItem &bar, const ScaleSetting &s);

}  // namespace orv
