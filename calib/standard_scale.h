#pragma once
// Settings of the standard scale bar: a chosen length drawn as a bar of the
// matching number of pixels with its length as label.

#include <QPoint>

#include <string>

#include "measure/color_ref.h"
#include "measure/language.h"
#include "calib/scale_setting.h"

namespace orv {

inline constexpr ColorRef kScaleFontColor = 0x00FF0000;  // blue
inline constexpr ColorRef kScaleBackColor = 0x00F0F0F0;  // light grey
inline constexpr ColorRef kScaleLineColor = 0x0000FF00;  // green

struct StandardScale {
    std::string length = "200";
    std::string lengthUnit = std::string(kUnitMicroJa);
    int show = 0;
    QPoint position{20, 20};  // left end, on the bar line
    int pixelLength = 0;
    ColorRef fontColor = kScaleFontColor;
    ColorRef backColor = kScaleBackColor;
    ColorRef lineColor = kScaleLineColor;
    int transparent = 1;
    std::string thickness = "1";
    int fontSize = 16;
    std::string fontSizeText = "16";
    std::string faceName = "Arial";

    // Defaults for the language ("μm" or "um"), pixel length computed with the
    // calibration.
    static StandardScale Defaults(Language lang, const ScaleSetting &calibration);

    // Pixel length of the length under the horizontal scale of the calibration.
    void updatePixelLength(const ScaleSetting &calibration);

    // Pen width: integer reading of the thickness text, at least 1.
    int penWidth() const;

    bool operator==(const StandardScale &) const = default;
};

}  // namespace orv
