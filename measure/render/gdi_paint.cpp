#include "measure/render/gdi_paint.h"

#include <QFontMetrics>
#include <QRectF>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace orv {
namespace {

// Widths beyond this only stall the rasteriser.
constexpr int kMaxPenWidth = 1000;

// Text cells taller than this are only painted this far.
constexpr int kMaxCellFill = 1 << 20;

}  // namespace

int ClampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

QPen SolidPen(int width, ColorRef color)
{
    const int w = std::clamp(width, 1, kMaxPenWidth);
    QPen pen(ToQColor(color));
    pen.setStyle(Qt::SolidLine);
    pen.setWidth(w);
    // Thin lines keep exact end pixels; wide ones get round ends and joins.
    pen.setCapStyle(w == 1 ? Qt::SquareCap : Qt::RoundCap);
    pen.setJoinStyle(w == 1 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
}

QPen DottedPen(ColorRef color)
{
    QPen pen(ToQColor(color));
    pen.setWidth(1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({1.0, 1.0});
    return pen;
}

void DrawSegment(QPainter &p, QPoint a, QPoint b)
{
    if (a == b)
        return;
    if (p.pen().width() > 1) {
        p.drawLine(a, b);
        return;
    }
    // Step back one pixel along the major axis so that b is left out.
    const long long dx = static_cast<long long>(b.x()) - a.x();
    const long long dy = static_cast<long long>(b.y()) - a.y();
    QPoint last;
    if (std::llabs(dx) >= std::llabs(dy)) {
        const long long lx = b.x() - (dx > 0 ? 1 : -1);
        const double t = static_cast<double>(lx - a.x()) / static_cast<double>(dx);
        last = QPoint(static_cast<int>(lx), static_cast<int>(std::lround(a.y() + t * static_cast<double>(dy))));
    } else {
        const long long ly = b.y() - (dy > 0 ? 1 : -1);
        const double t = static_cast<double>(ly - a.y()) / static_cast<double>(dy);
        last = QPoint(static_cast<int>(std::lround(a.x() + t * static_cast<double>(dx))), static_cast<int>(ly));
    }
    if (last == a)
        p.drawPoint(a);
    else
        p.drawLine(a, last);
}

void DrawFilledRect(QPainter &p, int left, int top, int right, int bottom)
{
    const int l = std::min(left, right);
    const int r = std::max(left, right);
    const int t = std::min(top, bottom);
    const int b = std::max(top, bottom);
    if (r - l < 1 || b - t < 1)
        return;
    p.fillRect(QRect(l, t, r - l, b - t), Qt::white);
    const QBrush old = p.brush();
    p.setBrush(Qt::NoBrush);
    if (p.pen().width() <= 1)
        p.drawRect(QRect(l, t, r - l - 1, b - t - 1));
    else
        p.drawRect(QRectF(l, t, r - l - 1, b - t - 1));
    p.setBrush(old);
}

void DrawCircle(QPainter &p, QPoint c, int r)
{
    if (r <= 0)
        return;
    const QBrush old = p.brush();
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(c), static_cast<double>(r), static_cast<double>(r));
    p.setBrush(old);
}

double ScreenAngleDeg(QPoint c, QPoint q)
{
    const double dx = static_cast<double>(q.x()) - c.x();
    const double dy = static_cast<double>(q.y()) - c.y();
    return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
}

void DrawArcCCW(QPainter &p, QPoint c, int r, QPoint from, QPoint to)
{
    if (r <= 0)
        return;
    const double start = ScreenAngleDeg(c, from);
    double span = ScreenAngleDeg(c, to) - start;
    while (span <= 0)
        span += 360.0;
    while (span > 360.0)
        span -= 360.0;
    const QRectF box(static_cast<double>(c.x()) - r, static_cast<double>(c.y()) - r, 2.0 * r, 2.0 * r);
    p.drawArc(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
}

int DrawTextTopLeft(QPainter &p, int x, int y, const QString &text, const TextStyle &style,
                    int cellHeight)
{
    const QFontMetrics fm(p.font());
    const int width = fm.horizontalAdvance(text);
    // A label far outside the painter's clip (a part of the image being
    // redrawn) paints nothing: laying its glyphs out is skipped.
    if (p.hasClipping() && p.transform().type() <= QTransform::TxTranslate) {
        const int reach = fm.height() + fm.maxWidth() + std::max(cellHeight, 0);
        const QRectF cell(x - reach, y - reach, width + 2.0 * reach, 2.0 * reach + fm.height());
        if (!p.clipBoundingRect().intersects(cell))
            return width;
    }
    if (style.opaque && width > 0 && cellHeight > 0) {
        const double h = std::min(cellHeight, kMaxCellFill);
        p.fillRect(QRectF(x, y, width, h), ToQColor(style.backColor));
    }
    const QPen old = p.pen();
    p.setPen(ToQColor(style.textColor));
    const Qt::BGMode oldMode = p.backgroundMode();
    p.setBackgroundMode(Qt::TransparentMode);
    p.drawText(QPointF(x, static_cast<double>(y) + fm.ascent()), text);
    p.setBackgroundMode(oldMode);
    p.setPen(old);
    return width;
}

}  // namespace orv
