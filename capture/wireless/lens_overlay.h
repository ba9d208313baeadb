#pragma once
// The lens scale and the cross indicator drawn over the wireless picture: a
// bar with a label giving the bar's real length at the chosen lens, and a
// centred cross with ticks spaced by the same scale.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "measure/color_ref.h"

namespace orv {

// The overlay choices of the image page, copied whole between threads.
struct OverlayOptions {
    QString lens = QStringLiteral("(nil)");
    bool cross = false;
    QString colour = QStringLiteral("Black");

    // Saved frames are re-rendered only when something is drawn over them.
    bool HasOverlay() const { return lens != QLatin1String("(nil)") || cross; }
};

// One row of the lens table: the label, where the bar starts (e / 320 of the
// width), how many tick steps make the bar (f), and the label's x offset in
// 320ths of the width. A null or "(nil)" lens has no label.
struct LensScale {
    QString label;
    int e = 283;
    int f = 2;
    int labelOffset = 190;
};
LensScale LensScaleFor(const QString &lensText);

// White for exactly "White", pure red for exactly "Red", black otherwise.
ColorRef OverlayColor(const QString &colourText);

// The label font of an overlay h pixels high ("ＭＳ ゴシック", cell height
// h x 20 / 240). Building it measures the face: a caller drawing many
// overlays of one size keeps it and passes it to DrawLensOverlay.
QFont LensLabelFont(int h);

// Draws the lens scale (unless the lens text is null or "(nil)") and, when
// cross is set, the cross indicator over (x, y, w, h) in the overlay colour.
// labelFont: LensLabelFont(h), built here when null.
void DrawLensOverlay(QPainter &p, int x, int y, int w, int h, const QString &lensText, bool cross,
                     const QString &colourText, const QFont *labelFont = nullptr);

// The picture with the options' overlay drawn over area, as a new image: the
// picture itself stays as it was, for drawing again with other options.
// Without an overlay the picture is handed back as it is.
QImage WithLensOverlay(const QImage &picture, QRect area, const OverlayOptions &options,
                       const QFont *labelFont = nullptr);

}  // namespace orv
