#pragma once
// How new measurements look: label text colour, size and background, line
// colour and width, and how much each label says.

#include <string>

#include "measure/color_ref.h"
#include "measure/label_mode.h"
#include "measure/measure_item.h"

namespace orv {

inline constexpr ColorRef kDefaultFontColor = 0x00FFFF00;  // cyan
inline constexpr ColorRef kDefaultBackColor = 0x00F0F0F0;  // light grey
inline constexpr ColorRef kDefaultLineColor = 0x000000FF;  // red

struct DrawAttribute {
    std::string faceName = "Arial";
    int fontSize = 16;
    std::string fontSizeText = "16";
    ColorRef fontColor = kDefaultFontColor;
    ColorRef backColor = kDefaultBackColor;
    int transparent = 1;
    ColorRef lineColor = kDefaultLineColor;
    std::string lineWidthText = "1";
    LabelMode labelMode = LabelMode::Details;
    std::string zoomText = "100";
    std::string drawFileName;

    // Integer reading of the line width text.
    int lineWidth() const;

    // The attributes a draw setting file holds, back to their defaults (the
    // default entry of the draw file list); label mode, zoom, face name and
    // file name stay.
    void resetFileAttributes();

    // The six attributes every measurement carries a copy of.
    void copyTo(MeasureItem &item) const;
    // Takes a measurement's attributes (font size and line width with "%d" texts).
    void takeFrom(const MeasureItem &item);

    bool operator==(const DrawAttribute &) const = default;
};

// Font size list of the page by position: 5 to 14, 16, 18, 20, 25, 30; 16 when
// out of range.
int FontSizeAt(int index);
inline constexpr int kFontSizeCount = 15;

}  // namespace orv
