#pragma once
// Colours are kept as 0x00BBGGRR values, the form setting files store.

#include <QColor>

#include <cstdint>

namespace orv {

using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(int r, int g, int b)
{
    return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline QColor ToQColor(ColorRef c)
{
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline ColorRef FromQColor(const QColor &c)
{
    return MakeColorRef(c.red(), c.green(), c.blue());
}

}  // namespace orv
