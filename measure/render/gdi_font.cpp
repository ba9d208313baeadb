#include "measure/render/gdi_font.h"

#include <QFontDatabase>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>

namespace orv {
namespace {

// Fonts beyond this size are not useful on an image and only cost memory.
constexpr int kMaxPixelSize = 2000;

// Average character width of a face as a fraction of its em size, by the
// weighted lower-case letter frequencies that raster font matching uses (the
// width a request of "width" pixels is matched against).
double AverageWidthPerEm(const QFont &base)
{
    static constexpr std::array<int, 27> kWeights = {64, 14, 27, 35, 100, 20, 14, 42, 63,
                                                     3,  6,  35, 20, 56,  56, 17, 4,  49,
                                                     56, 71, 31, 10, 18,  3,  18, 2,  166};
    QFont f = base;
    f.setPixelSize(200);
    f.setStretch(QFont::Unstretched);
    const QFontMetricsF fm(f);
    double sum = 0;
    for (int i = 0; i < 26; ++i)
        sum += fm.horizontalAdvance(QChar(u'a' + i)) * kWeights[static_cast<std::size_t>(i)];
    sum += fm.horizontalAdvance(QChar(u' ')) * kWeights[26];
    return sum / 1000.0 / 200.0;
}

}  // namespace

void RegisterFontSubstitutions()
{
    static std::once_flag once;
    std::call_once(once, [] {
        QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"));
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));
    });
}

QFont MakeCellFont(const QString &face, int height, int width)
{
    RegisterFontSubstitutions();
    QFont font(face);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferDefault);

    const int cell = std::clamp(height, 1, kMaxPixelSize);
    // Largest em size whose ascent + descent fits the cell; start from the
    // face's own ratio and correct by the real metrics.
    font.setPixelSize(std::max(1, cell));
    const int fullHeight = QFontMetrics(font).height();
    int px = fullHeight > 0 ? std::max(1, static_cast<int>(std::lround(1.0 * cell * cell / fullHeight)))
                            : cell;
    font.setPixelSize(px);
    while (px > 1 && QFontMetrics(font).height() > cell)
        font.setPixelSize(--px);
    while (px < kMaxPixelSize) {
        QFont bigger = font;
        bigger.setPixelSize(px + 1);
        if (QFontMetrics(bigger).height() > cell)
            break;
        font = bigger;
        ++px;
    }

    if (width > 0) {
        const double natural = AverageWidthPerEm(font) * px;
        if (natural > 0) {
            const int stretch = static_cast<int>(std::lround(100.0 * width / natural));
            font.setStretch(std::clamp(stretch, 1, 4000));
        }
    }
    return font;
}

int TextWidth(const QFont &font, const QString &text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

}  // namespace orv
