#pragma once
// Fonts given the way the drawing code states them: a cell height and an
// average character width in pixels, as for a raster font request.
//
// The height is the cell height (ascent + descent), not the em size: a label
// of font size 16 occupies 16 pixel rows, so the label boxes, frames and the
// Text item's hit box computed as "fontSize" pixels high match the drawn text.

#include <QFont>
#include <QFontMetrics>
#include <QString>

namespace orv {

// Registers the substitutions for Japanese face names that fontconfig does not
// map by itself. Safe to call any number of times; only the first call acts.
void RegisterFontSubstitutions();

// A font of the given face whose cell height is at most `height` pixels and
// whose average character width is `width` pixels (0: the face's own width).
// Weight normal, no italic, underline or strike-out.
QFont MakeCellFont(const QString &face, int height, int width);

// The label font of a measurement of the given font size: width size / 2.
inline QFont MakeLabelFont(const QString &face, int fontSize)
{
    return MakeCellFont(face, fontSize, fontSize / 2);
}

// Advance width of the text in the font (the measured extent of a label).
int TextWidth(const QFont &font, const QString &text);

}  // namespace orv
