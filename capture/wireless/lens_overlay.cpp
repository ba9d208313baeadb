#include "capture/wireless/lens_overlay.h"

#include "measure/render/gdi_font.h"
#include "measure/render/gdi_paint.h"

#include <algorithm>
#include <array>

namespace orv {
namespace {

struct LensRow {
    const char *lens;
    const char *label;
    int e;
    int f;
    int labelOffset;
};

constexpr std::array<LensRow, 5> kLensTable{{
    {"X30", "X30 1mm", 270, 2, 220},
    {"X50", "X50 1mm", 253, 2, 220},
    {"X100", "X100 500\u03bcm", 252, 5, 190},
    {"X200", "X200 100\u03bcm", 285, 2, 190},
    {"X400", "X400 100\u03bcm", 262, 2, 190},
}};

bool NoLens(const QString &lensText)
{
    return lensText.isNull() || lensText == QLatin1String("(nil)");
}

QPoint At(long long x, long long y)
{
    return {ClampToInt(x), ClampToInt(y)};
}

}  // namespace

LensScale LensScaleFor(const QString &lensText)
{
    if (NoLens(lensText))
        return {};
    for (const LensRow &row : kLensTable) {
        if (lensText == QLatin1String(row.lens))
            return {QString::fromUtf8(row.label), row.e, row.f, row.labelOffset};
    }
    return {QStringLiteral("---"), 283, 2, 190};
}

ColorRef OverlayColor(const QString &colourText)
{
    if (colourText == QLatin1String("White"))
        return MakeColorRef(255, 255, 255);
    if (colourText == QLatin1String("Red"))
        return MakeColorRef(255, 0, 0);
    return MakeColorRef(0, 0, 0);
}

QFont LensLabelFont(int h)
{
    return MakeCellFont(QStringLiteral("ＭＳ ゴシック"), std::max(1, h * 20 / 240), 0);
}

void DrawLensOverlay(QPainter &p, int x, int y, int w, int h, const QString &lensText, bool cross,
                     const QString &colourText, const QFont *labelFont)
{
    if (w <= 0 || h <= 0)
        return;
    const ColorRef colour = OverlayColor(colourText);
    const LensScale scale = LensScaleFor(lensText);
    const long long X = x, Y = y, W = w, H = h;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(SolidPen(w / 320, colour));
    p.setBrush(Qt::NoBrush);

    if (!NoLens(lensText)) {
        const int fontHeight = h * 20 / 240;
        if (fontHeight > 0) {
            p.setFont(labelFont ? *labelFont : LensLabelFont(h));
            TextStyle style;
            style.textColor = colour;
            style.opaque = false;
            DrawTextTopLeft(p, ClampToInt(X + W * scale.labelOffset / 320), ClampToInt(Y + H * 200 / 240), scale.label,
                            style, fontHeight);
        }
        const long long barY = Y + H * 190 / 240;
        const long long left = X + W * scale.e / 320;
        const long long right = X + W * 310 / 320;
        const long long reach = H * 10 / 240;
        DrawSegment(p, At(left, barY), At(right, barY));
        DrawSegment(p, At(left, barY - reach), At(left, barY + reach));
        DrawSegment(p, At(right, barY - reach), At(right, barY + reach));
    }

    if (cross) {
        const long long cx = X + W / 2;
        const long long cy = Y + H / 2;
        DrawSegment(p, At(X, cy), At(X + W, cy));
        DrawSegment(p, At(cx, Y), At(cx, Y + H));
        // Narrow rectangles give a step of 0: no ticks rather than a loop
        // that never ends.
        const long long step = ((310 - scale.e) * W / scale.f) / 320;
        if (step > 0) {
            for (long long k = 1; k * step < H / 2; ++k) {
                const long long t = (k % scale.f == 0) ? W * 10 / 320 : W * 5 / 320;
                for (const long long ty : {cy - k * step, cy + k * step})
                    DrawSegment(p, At(cx - t, ty), At(cx + t, ty));
            }
            for (long long k = 1; k * step < W / 2; ++k) {
                const long long t = (k % scale.f == 0) ? H * 10 / 240 : H * 5 / 240;
                for (const long long tx : {cx - k * step, cx + k * step})
                    DrawSegment(p, At(tx, cy - t), At(tx, cy + t));
            }
        }
    }
    p.restore();
}

QImage WithLensOverlay(const QImage &picture, QRect area, const OverlayOptions &options, const QFont *labelFont)
{
    if (picture.isNull() || !options.HasOverlay())
        return picture;
    QImage drawn = picture.copy();
    QPainter p(&drawn);
    DrawLensOverlay(p, area.x(), area.y(), area.width(), area.height(), options.lens, options.cross, options.colour,
                    labelFont);
    return drawn;
}

}  // namespace orv
