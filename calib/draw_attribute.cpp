#include "calib/draw_attribute.h"

#include "core/number_reading.h"

namespace orv {

int DrawAttribute::lineWidth() const
{
    return ReadInt(lineWidthText);
}

void DrawAttribute::resetFileAttributes()
{
    fontSize = 16;
    fontSizeText = "16";
    lineWidthText = "1";
    fontColor = kDefaultFontColor;
    backColor = kDefaultBackColor;
    lineColor = kDefaultLineColor;
    transparent = 1;
}

void DrawAttribute::copyTo(MeasureItem &item) const
{
    item.lineWidth = lineWidth();
    item.lineColor = lineColor;
    item.fontSize = fontSize;
    item.fontColor = fontColor;
    item.backColor = backColor;
    item.backMode = static_cast<std::uint32_t>(transparent);
}

void DrawAttribute::takeFrom(const MeasureItem &item)
{
    fontSize = item.fontSize;
    fontSizeText = std::to_string(item.fontSize);
    fontColor = item.fontColor;
    backColor = item.backColor;
    transparent = item.backMode != 0 ? 1 : 0;
    lineColor = item.lineColor;
    lineWidthText = std::to_string(item.lineWidth);
}

int FontSizeAt(int index)
{
    static constexpr int kSizes[kFontSizeCount] = {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 18, 20, 25, 30};
    return index >= 0 && index < kFontSizeCount ? kSizes[index] : 16;
}

}  // namespace orv
